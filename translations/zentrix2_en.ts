<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Core</name>
    <message>
        <source>x軸の最大値(最小値)の値が適切ではありません。</source>
        <translation>The maximum or minimum of the x axis is not valid.</translation>
    </message>
    <message>
        <source>y軸の最大値(最小値)の値が適切ではありません。</source>
        <translation>The maximum or minimum of the y axis is not valid.</translation>
    </message>
    <message>
        <source>メモリの確保に失敗しました。終了します</source>
        <translation>Out of memory. The program ends.</translation>
    </message>
    <message>
        <source>関連付けデータファイル番号</source>
        <translation>data file number</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>temperature</translation>
    </message>
    <message>
        <source>磁場</source>
        <translation>magnetic field</translation>
    </message>
    <message>
        <source>計算結果出力フォルダ</source>
        <translation>result folder</translation>
    </message>
    <message>
        <source>出力ファイル名</source>
        <translation>result file name</translation>
    </message>
    <message>
        <source>J範囲開始値</source>
        <translation>start of the J range</translation>
    </message>
    <message>
        <source>J範囲終了値</source>
        <translation>end of the J range</translation>
    </message>
    <message>
        <source>計算の細かさ</source>
        <translation>point density</translation>
    </message>
    <message>
        <source>B範囲開始値</source>
        <translation>start of the B range</translation>
    </message>
    <message>
        <source>B範囲終了値</source>
        <translation>end of the B range</translation>
    </message>
    <message>
        <source>電界基準値</source>
        <translation>electric field criterion E_c</translation>
    </message>
    <message>
        <source>計算結果出力ファイルを作成できません。</source>
        <translation>The result file cannot be written.</translation>
    </message>
    <message>
        <source>パスに使用できない文字が含まれています : %1</source>
        <translation>The path holds characters that cannot be used: %1</translation>
    </message>
    <message>
        <source>計算結果出力ファイルにデータファイルは指定できません。</source>
        <translation>A data file cannot be a result file.</translation>
    </message>
    <message>
        <source>計算結果出力ファイルに設定ファイルは指定できません。</source>
        <translation>The settings file cannot be a result file.</translation>
    </message>
    <message>
        <source>データファイルが大きすぎます（100万点、1行65536バイトまで）。</source>
        <translation>The data file is too large (at most 1,000,000 points and 65536 bytes per line).</translation>
    </message>
    <message>
        <source>不正な値の入力 : %1</source>
        <translation>Invalid input: %1</translation>
    </message>
    <message>
        <source>%1の最小値</source>
        <translation>minimum of %1</translation>
    </message>
    <message>
        <source>%1の最大値</source>
        <translation>maximum of %1</translation>
    </message>
    <message>
        <source>温度は 0 K より大きく 400 K 未満にしてください。</source>
        <translation>The temperature must be above 0 K and below 400 K.</translation>
    </message>
    <message>
        <source>磁場 0 T では計算できません（モデルは B &gt; 0 を必要とします）。自己磁場の測定には小さな正の値を入力してください。</source>
        <translation>A magnetic field of 0 T cannot be calculated (the model needs B &gt; 0). For a self-field measurement, enter a small positive field.</translation>
    </message>
    <message>
        <source>磁場は 0 T より大きく 100 T 未満にしてください。</source>
        <translation>The magnetic field must be above 0 T and below 100 T.</translation>
    </message>
    <message>
        <source>サンプル名</source>
        <translation>sample name</translation>
    </message>
    <message>
        <source>長さ</source>
        <translation>length</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>width</translation>
    </message>
    <message>
        <source>厚さ</source>
        <translation>thickness</translation>
    </message>
    <message>
        <source>スケール則内の規格化温度の次数</source>
        <translation>exponent of T/Tc in the scaling law</translation>
    </message>
    <message>
        <source>スケール則内の規格化磁場の次数</source>
        <translation>exponent of B/Bc2 in the scaling law</translation>
    </message>
    <message>
        <source>積分区間数</source>
        <translation>number of integration steps</translation>
    </message>
    <message>
        <source>%1 は読み込んだ後に他のプログラムが変更しました。変更を失わないよう上書きしません。</source>
        <translation>%1 was changed by another program after it was read; it is not replaced, so that no change is lost.</translation>
    </message>
    <message>
        <source>ピン力の強さ</source>
        <translation>Pinning strength</translation>
    </message>
    <message>
        <source>ピン力の分布</source>
        <translation>Width of the pinning strength distribution</translation>
    </message>
    <message>
        <source>ピン力の磁場依存性</source>
        <translation>Field dependence of the pinning strength</translation>
    </message>
    <message>
        <source>ピン力の温度依存性</source>
        <translation>Temperature dependence of the pinning strength</translation>
    </message>
    <message>
        <source>磁束バンドルサイズ</source>
        <translation>Flux bundle size</translation>
    </message>
    <message>
        <source>臨界温度</source>
        <translation>Critical temperature (K)</translation>
    </message>
    <message>
        <source>上部臨界磁場</source>
        <translation>Upper critical field at 0 K (T)</translation>
    </message>
</context>
<context>
    <name>zx::AboutBox</name>
    <message>
        <source>ZentrixⅡ</source>
        <translation>ZENTRIX II</translation>
    </message>
    <message>
        <source>バージョン %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>zx::AxisDialog</name>
    <message>
        <source>軸設定ダイアログ</source>
        <translation>Axis Settings</translation>
    </message>
    <message>
        <source>X軸設定</source>
        <translation>X Axis</translation>
    </message>
    <message>
        <source>X軸オートスケール</source>
        <translation>Automatic X scale</translation>
    </message>
    <message>
        <source>Y軸設定</source>
        <translation>Y Axis</translation>
    </message>
    <message>
        <source>Y軸オートスケール</source>
        <translation>Automatic Y scale</translation>
    </message>
    <message>
        <source>線形</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>対数</source>
        <translation>Logarithmic</translation>
    </message>
    <message>
        <source>最小値</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>最大値</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>%1軸最小値</source>
        <translation>%1 axis minimum</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>%1軸最大値</source>
        <translation>%1 axis maximum</translation>
    </message>
</context>
<context>
    <name>zx::CalcCondChangeDialog</name>
    <message>
        <source>計算条件変更ダイアログ</source>
        <translation>Change Calculation Condition</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>zx::CalcCondDialog</name>
    <message>
        <source>計算条件登録</source>
        <translation>Register Calculation Condition</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>zx::CalcCondFields</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>登録</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>関連付けデータファイル番号</source>
        <translation>Data file number</translation>
    </message>
    <message>
        <source>温度(K)</source>
        <translation>Temperature (K)</translation>
    </message>
    <message>
        <source>磁場(T)</source>
        <translation>Magnetic field (T)</translation>
    </message>
    <message>
        <source>計算結果出力フォルダ</source>
        <translation>Result folder</translation>
    </message>
    <message>
        <source>出力ファイル名</source>
        <translation>Result file name</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>計算結果出力フォルダの選択</source>
        <translation>Choose the Result Folder</translation>
    </message>
</context>
<context>
    <name>zx::DataFileControls</name>
    <message>
        <source>データファイルを選択</source>
        <translation>Choose a Data File</translation>
    </message>
    <message>
        <source>テキストファイル(*.txt), データファイル(*.dat) (*.txt *.TXT *.dat *.DAT)</source>
        <translation>Text files (*.txt), data files (*.dat) (*.txt *.TXT *.dat *.DAT)</translation>
    </message>
    <message>
        <source>データファイルパス</source>
        <translation>Data file path</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>登録</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Change</translation>
    </message>
</context>
<context>
    <name>zx::DataFileDialog</name>
    <message>
        <source>データファイル登録</source>
        <translation>Register Data File</translation>
    </message>
    <message>
        <source>データファイルパス</source>
        <translation>data file path</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>データファイルが見つかりません。
%1</source>
        <translation>The data file cannot be found.
%1</translation>
    </message>
</context>
<context>
    <name>zx::FitDialog</name>
    <message>
        <source>自動フィッティング</source>
        <translation>Automatic Fit</translation>
    </message>
    <message>
        <source>パラメータ</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>オプション</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>通常</source>
        <translation>Linear</translation>
    </message>
    <message>
        <source>条件ごとに均等</source>
        <translation>Equal per condition</translation>
    </message>
    <message>
        <source>点ごとに均等</source>
        <translation>Equal per point</translation>
    </message>
    <message>
        <source>1: 現在値からの1回のフィットのみ</source>
        <translation>1: a single fit from the current values only</translation>
    </message>
    <message>
        <source>規格化温度・磁場の次数を4通りとも試す</source>
        <translation>Try all four exponents of T/Tc and B/Bc2</translation>
    </message>
    <message>
        <source>損失関数</source>
        <translation>Loss function</translation>
    </message>
    <message>
        <source>尺度(デケード)</source>
        <translation>Scale (decades)</translation>
    </message>
    <message>
        <source>重み付け</source>
        <translation>Weighting</translation>
    </message>
    <message>
        <source>開始点の数</source>
        <translation>Start points</translation>
    </message>
    <message>
        <source>フィット開始</source>
        <translation>Start Fit</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>適用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>結果を保存</source>
        <translation>Save Results</translation>
    </message>
    <message>
        <source>フィット開始で、全条件に共通のパラメータを求めます。</source>
        <translation>Start Fit finds the parameters common to all conditions.</translation>
    </message>
    <message>
        <source>不正な値の入力 : 尺度</source>
        <translation>Invalid input: scale</translation>
    </message>
    <message>
        <source>フィッティングできません : 使用できるデータ点がありません。</source>
        <translation>Cannot fit: there is no usable data point.</translation>
    </message>
    <message>
        <source>フィッティングできません : すべてのパラメータが固定されています。</source>
        <translation>Cannot fit: every parameter is fixed.</translation>
    </message>
    <message>
        <source>開始点 %1/%2   反復 %3   RMS %4 デケード</source>
        <translation>Start point %1/%2   iteration %3   RMS %4 decades</translation>
    </message>
    <message>
        <source>   経過時間 %1 秒</source>
        <translation>   elapsed %1 s</translation>
    </message>
    <message>
        <source>現在値</source>
        <translation>Current</translation>
    </message>
    <message>
        <source>固定</source>
        <translation>Fixed</translation>
    </message>
    <message>
        <source>最小値</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>最大値</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>フィット値</source>
        <translation>Fitted</translation>
    </message>
    <message>
        <source>標準誤差</source>
        <translation>Std. error</translation>
    </message>
    <message>
        <source>境界</source>
        <translation>Bound</translation>
    </message>
    <message>
        <source>点数</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Jc(データ)</source>
        <translation>Jc (data)</translation>
    </message>
    <message>
        <source>Jc(モデル)</source>
        <translation>Jc (model)</translation>
    </message>
    <message>
        <source>n(データ)</source>
        <translation>n (data)</translation>
    </message>
    <message>
        <source>n(モデル)</source>
        <translation>n (model)</translation>
    </message>
    <message>
        <source>条件ごとの結果</source>
        <translation>Per Condition</translation>
    </message>
    <message>
        <source>行をクリックすると、その極小値の曲線を表示します (適用で採用)</source>
        <translation>Click a row to show the curves of that minimum (Apply takes it)</translation>
    </message>
    <message>
        <source>極小値</source>
        <translation>Minima</translation>
    </message>
    <message>
        <source>相関行列</source>
        <translation>Correlations</translation>
    </message>
    <message>
        <source>収束しました</source>
        <translation>Converged</translation>
    </message>
    <message>
        <source>停止しました (%1)</source>
        <translation>Stopped (%1)</translation>
    </message>
    <message>
        <source>中止しました</source>
        <translation>Stopped by the user</translation>
    </message>
    <message>
        <source>   反復 %1   RMS %2 デケード   経過時間 %3 秒</source>
        <translation>   iterations %1   RMS %2 decades   elapsed %3 s</translation>
    </message>
    <message>
        <source>   極小値 %1 個</source>
        <translation>   minima %1</translation>
    </message>
    <message>
        <source>   次数 (温度 %1, 磁場 %2)</source>
        <translation>   exponents (T %1, B %2)</translation>
    </message>
    <message>
        <source>データファイルまたは計算条件の登録が変更されたため、フィッティングを中止しました。</source>
        <translation>The fit was stopped: the registered data files or calculation conditions changed.</translation>
    </message>
    <message>
        <source>下限</source>
        <translation>Lower</translation>
    </message>
    <message>
        <source>上限</source>
        <translation>Upper</translation>
    </message>
    <message>
        <source>全体: %1 点, RMS %2 デケード</source>
        <translation>All: %1 points, RMS %2 decades</translation>
    </message>
    <message>
        <source>到達数</source>
        <translation>Reached</translation>
    </message>
    <message>
        <source>★最良</source>
        <translation>★ Best</translation>
    </message>
    <message>
        <source>log10(測定値/モデル)</source>
        <translation>log10(measured/model)</translation>
    </message>
    <message>
        <source>結果ファイルにデータファイルは指定できません。</source>
        <translation>A data file cannot be a result file.</translation>
    </message>
    <message>
        <source>結果ファイルに設定ファイルは指定できません。</source>
        <translation>The settings file cannot be a result file.</translation>
    </message>
    <message>
        <source>テキストファイル(*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <source>結果ファイルを保存できません。</source>
        <translation>The results cannot be saved.</translation>
    </message>
    <message>
        <source># 自動フィッティング</source>
        <translation># Automatic fit</translation>
    </message>
    <message>
        <source># 設定ファイル: </source>
        <translation># Settings file: </translation>
    </message>
    <message>
        <source># 日時: </source>
        <translation># Date: </translation>
    </message>
    <message>
        <source>損失関数 %1 (尺度 %2 デケード), 重み付け %3, 開始点 %4, 固定 %5</source>
        <translation>Loss %1 (scale %2 decades), weighting %3, start points %4, fixed %5</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>, 次数 4通り</source>
        <translation>, all four exponents</translation>
    </message>
    <message>
        <source>パラメータ</source>
        <comment>group box</comment>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>中止しています…</source>
        <translation>Stopping…</translation>
    </message>
    <message>
        <source>   評価値 %1</source>
        <translation>   merit %1</translation>
    </message>
    <message>
        <source>   最良の評価値 %1</source>
        <translation>   best merit %1</translation>
    </message>
    <message>
        <source>評価値</source>
        <translation>Merit</translation>
    </message>
    <message>
        <source>空欄: 既定値 (Tc ±10 %、ただし測定温度の最高値の 1.005 倍以上; Bc2(0) ×/÷ 3)</source>
        <translation>Empty: the default (Tc ±10 %, but at least 1.005 times the highest measured temperature; Bc2(0) ×/÷ 3)</translation>
    </message>
</context>
<context>
    <name>zx::FitWarningText</name>
    <message>
        <source>No %1 (%2 点)</source>
        <translation>No %1 (%2 points)</translation>
    </message>
    <message>
        <source>範囲外の開始値を範囲内に移したパラメータ: </source>
        <translation>Start values moved into their ranges: </translation>
    </message>
    <message>
        <source>範囲の境界で止まったパラメータ: </source>
        <translation>Stopped at a bound of their ranges: </translation>
    </message>
    <message>
        <source>区別できないパラメータ: </source>
        <translation>Cannot be told apart: </translation>
    </message>
    <message>
        <source>モデル値のない点を除いた条件: </source>
        <translation>Conditions with points left out for lack of a model value: </translation>
    </message>
    <message>
        <source>データ点がフリーパラメータより少ないため、フィッティングできません。</source>
        <translation>Cannot fit: fewer data points than free parameters.</translation>
    </message>
    <message>
        <source>最小値と最大値が等しいため固定したパラメータ: </source>
        <translation>Fixed because minimum and maximum are equal: </translation>
    </message>
    <message>
        <source>収束していません。</source>
        <translation>Not converged.</translation>
    </message>
    <message>
        <source>開始点の上限に達しました。最良の極小値が見つかっていない可能性があります。</source>
        <translation>The cap on start points was reached: the best minimum may not have been found.</translation>
    </message>
    <message>
        <source>No %1 (%2 行, 0 以下)</source>
        <translation>No %1 (%2 lines, not positive)</translation>
    </message>
    <message>
        <source>No %1 (%2 行, 有限でない値)</source>
        <translation>No %1 (%2 lines, not finite)</translation>
    </message>
    <message>
        <source>データファイルから除いた行: </source>
        <translation>Lines left out of the data files: </translation>
    </message>
</context>
<context>
    <name>zx::ImportDialog</name>
    <message>
        <source>測定データ取り込み</source>
        <translation>Import Measured Data</translation>
    </message>
    <message>
        <source>測定データファイル</source>
        <translation>Measured data file</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>温度(K)</source>
        <translation>Temperature (K)</translation>
    </message>
    <message>
        <source>採用</source>
        <translation>Kept</translation>
    </message>
    <message>
        <source>除外</source>
        <translation>Dropped</translation>
    </message>
    <message>
        <source>先頭の行</source>
        <translation>First lines</translation>
    </message>
    <message>
        <source>自動 (3σ)</source>
        <translation>Automatic (3σ)</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>任意</source>
        <translation>Optional</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Conversion</translation>
    </message>
    <message>
        <source>電流の単位</source>
        <translation>Current unit</translation>
    </message>
    <message>
        <source>電圧の単位</source>
        <translation>Voltage unit</translation>
    </message>
    <message>
        <source>電圧端子間距離(m)</source>
        <translation>Tap distance (m)</translation>
    </message>
    <message>
        <source>幅(m)</source>
        <translation>Width (m)</translation>
    </message>
    <message>
        <source>厚さ(m)</source>
        <translation>Thickness (m)</translation>
    </message>
    <message>
        <source>背景フィット範囲(最大電流比)</source>
        <translation>Background fit range (fraction of I max)</translation>
    </message>
    <message>
        <source>電界下限(V/m)</source>
        <translation>Noise floor (V/m)</translation>
    </message>
    <message>
        <source>温度の列</source>
        <translation>Temperature column</translation>
    </message>
    <message>
        <source>磁場(T)</source>
        <translation>Magnetic field (T)</translation>
    </message>
    <message>
        <source>温度（温度の列、表、または入力）があると計算条件も登録します。</source>
        <translation>With a temperature (column, table or typed), a calculation condition is registered too.</translation>
    </message>
    <message>
        <source>出力データファイル</source>
        <translation>Output data file</translation>
    </message>
    <message>
        <source>取り込み</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>電流の列</source>
        <translation>Current column</translation>
    </message>
    <message>
        <source>磁場の列</source>
        <translation>Magnetic field column</translation>
    </message>
    <message>
        <source>電圧の列</source>
        <translation>Voltage column</translation>
    </message>
    <message>
        <source>測定データファイルを選択</source>
        <translation>Choose Measured Data Files</translation>
    </message>
    <message>
        <source>テキストファイル (*.txt *.TXT *.dat *.DAT *.csv *.CSV);;すべてのファイル (*)</source>
        <translation>Text files (*.txt *.TXT *.dat *.DAT *.csv *.CSV);;All files (*)</translation>
    </message>
    <message>
        <source>出力データファイルの保存</source>
        <translation>Save the Output Data File</translation>
    </message>
    <message>
        <source>データファイル(*.dat)</source>
        <translation>Data files (*.dat)</translation>
    </message>
    <message>
        <source>ファイルを読み込めません。</source>
        <translation>The file cannot be read.</translation>
    </message>
    <message>
        <source>数値の行が見つかりません。</source>
        <translation>No rows of numbers found.</translation>
    </message>
    <message>
        <source>列数 %1 / 数値の列 : %2</source>
        <translation>%1 columns / numeric columns: %2</translation>
    </message>
    <message>
        <source>（各ファイルの隣に _EJ.dat / _JcB.dat）</source>
        <translation>(_EJ.dat / _JcB.dat beside each file)</translation>
    </message>
    <message>
        <source>温度の列の平均 %1 K</source>
        <translation>Mean of the temperature column: %1 K</translation>
    </message>
    <message>
        <source>不正な値の入力 : %1</source>
        <translation>Invalid input: %1</translation>
    </message>
    <message>
        <source>読み込めません : 測定データファイル</source>
        <translation>Cannot be read: measured data file</translation>
    </message>
    <message>
        <source>数値の行がありません : 測定データファイル</source>
        <translation>No rows of numbers: measured data file</translation>
    </message>
    <message>
        <source>背景フィット範囲の点が %1 点しかありません（%2 点以上必要です）。
電流の列と背景フィット範囲を確認してください。</source>
        <translation>Only %1 points lie in the background fit range (at least %2 are needed).
Check the current column and the background fit range.</translation>
    </message>
    <message>
        <source>電圧端子間距離</source>
        <translation>tap distance</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>width</translation>
    </message>
    <message>
        <source>厚さ</source>
        <translation>thickness</translation>
    </message>
    <message>
        <source>背景フィット範囲</source>
        <translation>background fit range</translation>
    </message>
    <message>
        <source>電界下限</source>
        <translation>noise floor</translation>
    </message>
    <message>
        <source>書き込む点がありません : %1</source>
        <translation>No point left to write: %1</translation>
    </message>
    <message>
        <source>測定データファイルを選んでください。</source>
        <translation>Choose a measured data file.</translation>
    </message>
    <message>
        <source>採用 %1 点 / 除外 %2 点 / 数値でない行 %3
背景 V = a + b·I : a = %4 V, b = %5 V/A / 電界下限 %6 V/m</source>
        <translation>%1 points kept / %2 dropped / %3 lines not numeric
Background V = a + b·I: a = %4 V, b = %5 V/A / noise floor %6 V/m</translation>
    </message>
    <message>
        <source> / 電圧の符号を反転</source>
        <translation> / voltage sign reversed</translation>
    </message>
    <message>
        <source>
最大電流付近の電圧が雑音と同程度のため、符号は推定です。</source>
        <translation>
The sign is a guess: near the maximum current the voltage is no larger than the noise.</translation>
    </message>
    <message>
        <source>
符号は最大電流付近の点で決めました（上側範囲の合計とは逆です）。</source>
        <translation>
The sign comes from the points near the maximum current (the sum over the upper range says the opposite).</translation>
    </message>
    <message>
        <source>
背景フィット範囲に転移が含まれている可能性があります。</source>
        <translation>
The background fit range may include the transition.</translation>
    </message>
    <message>
        <source>採用 %1 点 / 除外 %2 点 / 数値でない行 %3</source>
        <translation>%1 points kept / %2 dropped / %3 lines not numeric</translation>
    </message>
    <message>
        <source> : 温度のばらつきが 0.5 K を超えています。</source>
        <translation>: the temperature varies by more than 0.5 K.</translation>
    </message>
    <message>
        <source>E-J計算</source>
        <translation>E-J</translation>
    </message>
    <message>
        <source>Jc-B計算</source>
        <translation>Jc-B</translation>
    </message>
    <message>
        <source>取り込むデータには計算モード %1 が必要です。
</source>
        <translation>The imported data need the %1 calculation mode.
</translation>
    </message>
    <message>
        <source>計算モードを変更しますか？</source>
        <translation>Change the calculation mode?</translation>
    </message>
    <message>
        <source>計算モードを変更します。現在登録されているデータファイル、
計算条件をクリアします。よろしいですか？</source>
        <translation>Changing the calculation mode removes the registered data files
and calculation conditions. Continue?</translation>
    </message>
    <message>
        <source>計算モード変更の確認</source>
        <translation>Change Calculation Mode</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>temperature</translation>
    </message>
    <message>
        <source>温度 %1 K が臨界温度 Tc (%2 K) 以上です。
このままでは計算できません。登録しますか？</source>
        <translation>The temperature %1 K is not below the critical temperature Tc (%2 K).
It cannot be calculated as it is. Register it anyway?</translation>
    </message>
    <message>
        <source>%1
は既に存在します。上書きしますか？</source>
        <translation>%1
already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>データファイルを書き込めません。
%1</source>
        <translation>The data file cannot be written.
%1</translation>
    </message>
    <message>
        <source>温度(K)</source>
        <comment>column</comment>
        <translation>T (K)</translation>
    </message>
    <message>
        <source>ヘッダーの温度 %1 K</source>
        <translation>Temperature from the header: %1 K</translation>
    </message>
    <message>
        <source>入力</source>
        <translation>typed</translation>
    </message>
    <message>
        <source>温度の列</source>
        <comment>source</comment>
        <translation>column</translation>
    </message>
    <message>
        <source>ヘッダー</source>
        <translation>header</translation>
    </message>
    <message>
        <source>
切断 : %1 A 以上の連続した点を採用（下限以上で除外 %2 点、うち転移の下のゆるやかな上昇 %3 点）</source>
        <translation>
Cut: the consecutive points from %1 A up are kept (%2 points above the floor left out, %3 of them a slow rise below the transition)</translation>
    </message>
    <message>
        <source>
電圧の列に単位が見つかりません : %1 とみなします。</source>
        <translation>
The voltage column states no unit: taken as %1.</translation>
    </message>
    <message>
        <source>
最大の E %1 V/m は転移の値ではありません : 電圧の単位はおそらく %2 です。</source>
        <translation>
The highest E, %1 V/m, is no transition&apos;s: the voltage is probably in %2.</translation>
    </message>
    <message>
        <source>
最大の E %1 V/m は転移の値ではありません : 電圧の単位を確認してください。</source>
        <translation>
The highest E, %1 V/m, is no transition&apos;s: check the voltage unit.</translation>
    </message>
    <message>
        <source>
採用した最小の E (%1 V/m) が電界基準値 (%2 V/m) を超えています : このデータの Jc は不明です。</source>
        <translation>
The lowest E kept (%1 V/m) lies above the criterion E_c (%2 V/m): the data&apos;s Jc is unknown.</translation>
    </message>
    <message>
        <source>
温度 %1 K（%2）</source>
        <translation>
Temperature %1 K (%2)</translation>
    </message>
    <message>
        <source> 標準偏差 %1 K</source>
        <translation>, standard deviation %1 K</translation>
    </message>
    <message>
        <source> / 磁場 %1 T（%2）</source>
        <translation> / field %1 T (%2)</translation>
    </message>
</context>
<context>
    <name>zx::JRangeDialog</name>
    <message>
        <source>計算J範囲の設定</source>
        <translation>Calculation Range</translation>
    </message>
    <message>
        <source>J範囲</source>
        <translation>J Range (A/m²)</translation>
    </message>
    <message>
        <source>開始値</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>終了値</source>
        <translation>End</translation>
    </message>
    <message>
        <source>計算の細かさ</source>
        <translation>Point density</translation>
    </message>
</context>
<context>
    <name>zx::JcConditionDialog</name>
    <message>
        <source>開始値</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>終了値</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Ec変更ダイアログ</source>
        <translation>Jc-B Calculation Settings</translation>
    </message>
    <message>
        <source>J範囲</source>
        <translation>J Range (A/m²)</translation>
    </message>
    <message>
        <source>B範囲</source>
        <translation>B Range (T)</translation>
    </message>
    <message>
        <source>電界基準値(V/m)</source>
        <translation>Electric field criterion E_c (V/m)</translation>
    </message>
    <message>
        <source>計算の細かさ</source>
        <translation>Point density</translation>
    </message>
</context>
<context>
    <name>zx::JcMapDialog</name>
    <message>
        <source>Jc(B,T)マップ</source>
        <translation>Jc(B,T) Map</translation>
    </message>
    <message>
        <source>カンマまたは空白で区切った温度の一覧</source>
        <translation>Temperatures separated by commas or blanks</translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>温度(K)</source>
        <translation>Temperature (K)</translation>
    </message>
    <message>
        <source>磁場(T)</source>
        <translation>Field (T)</translation>
    </message>
    <message>
        <source>基準電界(V/m)</source>
        <translation>Criterion (V/m)</translation>
    </message>
    <message>
        <source>書き出し</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>温度の一覧を読めません。</source>
        <translation>The list of temperatures cannot be read.</translation>
    </message>
    <message>
        <source>磁場の範囲が正しくありません。</source>
        <translation>The field range is not valid.</translation>
    </message>
    <message>
        <source>基準電界は正の数で入力してください。</source>
        <translation>Enter a positive number for the criterion.</translation>
    </message>
    <message>
        <source>フィット記録: 最新(95 % 信頼帯を表示)</source>
        <translation>Fit record: current (95 % confidence bands shown)</translation>
    </message>
    <message>
        <source>フィット記録: 最新(共分散がないため信頼帯なし)</source>
        <translation>Fit record: current (no covariance, no bands)</translation>
    </message>
    <message>
        <source>フィット記録がありません: 信頼帯なし</source>
        <translation>No fit record: no bands</translation>
    </message>
    <message>
        <source>フィット記録のパラメータがプロジェクトと異なります: 信頼帯なし</source>
        <translation>The fit record&apos;s parameters differ from the project&apos;s: no bands</translation>
    </message>
    <message>
        <source>フィット記録を読めません: 信頼帯なし</source>
        <translation>The fit record cannot be read: no bands</translation>
    </message>
    <message>
        <source>データの範囲: T %1 - %2 K, B %3 - %4 T(範囲外は破線)</source>
        <translation>Data range: T %1 - %2 K, B %3 - %4 T (dashed outside)</translation>
    </message>
    <message>
        <source>書き出し先にデータファイルは指定できません。</source>
        <translation>A data file cannot be the export target.</translation>
    </message>
    <message>
        <source>書き出し先に設定ファイルは指定できません。</source>
        <translation>The settings file cannot be the export target.</translation>
    </message>
    <message>
        <source>ファイルを書き出せません。</source>
        <translation>The file cannot be written.</translation>
    </message>
    <message>
        <source>CSVファイル(*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>COMSOL補間ファイル(*.txt)</source>
        <translation>COMSOL interpolation files (*.txt)</translation>
    </message>
    <message>
        <source>JSONファイル(*.json)</source>
        <translation>JSON files (*.json)</translation>
    </message>
    <message>
        <source>PNG画像(*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>SVG画像(*.svg)</source>
        <translation>SVG images (*.svg)</translation>
    </message>
</context>
<context>
    <name>zx::LanguageMenu</name>
    <message>
        <source>表示言語は次回の起動時に切り替わります。</source>
        <translation>The new language applies from the next start of ZENTRIX II.</translation>
    </message>
    <message>
        <source>言語の設定を保存できません。</source>
        <translation>The language setting cannot be saved.</translation>
    </message>
</context>
<context>
    <name>zx::ListsPanel</name>
    <message>
        <source>データ番号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>マーク</source>
        <translation>Mark</translation>
    </message>
    <message>
        <source>データファイル名</source>
        <translation>Data file</translation>
    </message>
    <message>
        <source>関連付けデータ番号</source>
        <translation>Data file no.</translation>
    </message>
    <message>
        <source>温度(K)</source>
        <translation>T (K)</translation>
    </message>
    <message>
        <source>磁場(T)</source>
        <translation>B (T)</translation>
    </message>
    <message>
        <source>相関係数</source>
        <translation>Corr.</translation>
    </message>
    <message>
        <source>出力ファイル名</source>
        <translation>Result file</translation>
    </message>
</context>
<context>
    <name>zx::MainWindow</name>
    <message>
        <source>.zx2ファイル(*.zx2)</source>
        <translation>Settings files (*.zx2)</translation>
    </message>
    <message>
        <source>設定ファイルを保存できません。</source>
        <translation>The settings file cannot be saved.</translation>
    </message>
    <message>
        <source>設定ファイルを読み込めません。</source>
        <translation>The settings file cannot be read.</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>新規設定</source>
        <translation>New Settings</translation>
    </message>
    <message>
        <source>設定を読み込み</source>
        <translation>Open Settings...</translation>
    </message>
    <message>
        <source>設定を保存</source>
        <translation>Save Settings</translation>
    </message>
    <message>
        <source>設定を別名保存</source>
        <translation>Save Settings As...</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>データ</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>データファイル登録</source>
        <translation>Register Data File</translation>
    </message>
    <message>
        <source>測定データ取り込み</source>
        <translation>Import Measured Data...</translation>
    </message>
    <message>
        <source>データファイル情報削除</source>
        <translation>Remove Data Files</translation>
    </message>
    <message>
        <source>計算</source>
        <translation>Calculation</translation>
    </message>
    <message>
        <source>計算条件登録</source>
        <translation>Register Calculation Condition</translation>
    </message>
    <message>
        <source>データファイルを登録してください。</source>
        <translation>Register a data file first.</translation>
    </message>
    <message>
        <source>計算条件削除</source>
        <translation>Remove Calculation Conditions</translation>
    </message>
    <message>
        <source>パラメータ設定可能範囲変更</source>
        <translation>Parameter Ranges...</translation>
    </message>
    <message>
        <source>その他の計算条件設定</source>
        <translation>Other Calculation Settings...</translation>
    </message>
    <message>
        <source>計算開始</source>
        <translation>Start Calculation</translation>
    </message>
    <message>
        <source>自動フィッティング</source>
        <translation>Automatic Fit...</translation>
    </message>
    <message>
        <source>計算モード変更</source>
        <translation>Change Calculation Mode...</translation>
    </message>
    <message>
        <source>グラフ</source>
        <translation>Graph</translation>
    </message>
    <message>
        <source>軸設定</source>
        <translation>Axis Settings...</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>ZentrixⅡに関して</source>
        <translation>About ZENTRIX II</translation>
    </message>
    <message>
        <source>データファイル登録削除</source>
        <translation>Remove Data Files</translation>
    </message>
    <message>
        <source>ポップアップ</source>
        <translation>Popup</translation>
    </message>
    <message>
        <source>データファイル情報を選択してからコマンドを実行してください。</source>
        <translation>Select the data files in the list first.</translation>
    </message>
    <message>
        <source>計算条件を選択してからコマンドを実行してください。</source>
        <translation>Select the calculation conditions in the list first.</translation>
    </message>
    <message>
        <source>設定ファイルは変更されています。保存しますか？</source>
        <translation>The settings have been changed. Save them?</translation>
    </message>
    <message>
        <source>設定ファイルの変更</source>
        <translation>Settings Changed</translation>
    </message>
    <message>
        <source>設定ファイルを選択</source>
        <translation>Open Settings File</translation>
    </message>
    <message>
        <source>設定ファイルの保存</source>
        <translation>Save Settings File</translation>
    </message>
    <message>
        <source>%1 は既に存在します。
上書きしますか？</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
    <message>
        <source>データファイル登録ダイアログを閉じてから作業を行ってください。</source>
        <translation>Close the Register Data File dialog first.</translation>
    </message>
    <message>
        <source>使用できるファイル拡張子は以下のように通りです。

	  設定ファイル : .zx2
	データファイル : .dat, .txt</source>
        <translation>These file extensions can be used:

	Settings file : .zx2
	Data file : .dat, .txt</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>現在の設定ファイルパス : </source>
        <translation>Settings file: </translation>
    </message>
    <message>
        <source>E-J計算モード</source>
        <translation>E-J mode</translation>
    </message>
    <message>
        <source>Jc-B計算モード</source>
        <translation>Jc-B mode</translation>
    </message>
    <message>
        <source>Jc(B,T)マップ</source>
        <translation>Jc(B,T) Map</translation>
    </message>
    <message>
        <source>フィット記録を保存できません。</source>
        <translation>The fit record cannot be saved.</translation>
    </message>
</context>
<context>
    <name>zx::ModeDialog</name>
    <message>
        <source>計算モード変更</source>
        <translation>Change Calculation Mode</translation>
    </message>
    <message>
        <source>計算モード</source>
        <translation>Calculation Mode</translation>
    </message>
    <message>
        <source>E-J計算</source>
        <translation>E-J</translation>
    </message>
    <message>
        <source>Jc-B計算</source>
        <translation>Jc-B</translation>
    </message>
    <message>
        <source>計算モードを変更します。現在登録されているデータファイル、
計算条件をクリアします。よろしいですか？</source>
        <translation>Changing the calculation mode removes the registered data files
and calculation conditions. Continue?</translation>
    </message>
    <message>
        <source>計算モード変更の確認</source>
        <translation>Change Calculation Mode</translation>
    </message>
</context>
<context>
    <name>zx::ModelessDialog</name>
    <message>
        <source>不正な値の入力 : %1</source>
        <translation>Invalid input: %1</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zx::ParamRangeDialog</name>
    <message>
        <source>パラメータ設定可能範囲変更ダイアログ</source>
        <translation>Parameter Ranges</translation>
    </message>
    <message>
        <source>最小値</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>最大値</source>
        <translation>Maximum</translation>
    </message>
</context>
<context>
    <name>zx::ParameterPanel</name>
    <message>
        <source>常伝導抵抗率</source>
        <translation>Normal-state resistivity (Ω m)</translation>
    </message>
    <message>
        <source>ピン形状定数</source>
        <translation>Pin shape constant</translation>
    </message>
    <message>
        <source>長さ</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>サンプル長手方向長さ</source>
        <translation>Sample length (m)</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>サンプル幅</source>
        <translation>Sample width (m)</translation>
    </message>
    <message>
        <source>厚さ</source>
        <translation>Thickness</translation>
    </message>
    <message>
        <source>サンプル厚</source>
        <translation>Sample thickness (m)</translation>
    </message>
    <message>
        <source>ピンパラメータ</source>
        <translation>Pinning Parameters</translation>
    </message>
    <message>
        <source>サンプル特性</source>
        <translation>Sample Properties</translation>
    </message>
    <message>
        <source>サンプルサイズ</source>
        <translation>Sample Size</translation>
    </message>
    <message>
        <source>その他の計算パラメータ</source>
        <translation>Other Calculation Parameters</translation>
    </message>
    <message>
        <source>サンプル名</source>
        <translation>Sample name</translation>
    </message>
    <message>
        <source>スケール則内の規格化温度の次数</source>
        <translation>Exponent of T/Tc in the scaling law</translation>
    </message>
    <message>
        <source>スケール則内の規格化磁場の次数</source>
        <translation>Exponent of B/Bc2 in the scaling law</translation>
    </message>
    <message>
        <source>積分時の刻み幅</source>
        <translation>Integration steps</translation>
    </message>
    <message>
        <source>積分時刻み幅</source>
        <translation>Number of integration steps</translation>
    </message>
    <message>
        <source>計算開始</source>
        <translation>Start Calculation</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>設定ファイルは変更されています。保存しますか？</source>
        <translation>The settings have been changed. Save them?</translation>
    </message>
    <message>
        <source>設定ファイルの変更</source>
        <translation>Settings Changed</translation>
    </message>
    <message>
        <source>不正な値の入力 : 積分時の刻み幅</source>
        <translation>Invalid input: integration steps</translation>
    </message>
</context>
<context>
    <name>zx::RawDataQuestion</name>
    <message>
        <source>%1

%2 行のうち %3 行から点が得られません。</source>
        <translation>%1

%3 of %2 lines give no point.</translation>
    </message>
    <message>
        <source>
1列目の値が増加していません。</source>
        <translation>
The values of the first column do not increase.</translation>
    </message>
    <message>
        <source>
測定データのままのファイルは データ → 測定データ取り込み で変換できます。

このまま登録しますか？</source>
        <translation>
A file of raw measured data can be converted with Data → Import Measured Data.

Register it as it is?</translation>
    </message>
    <message>
        <source>データファイル登録</source>
        <translation>Register Data File</translation>
    </message>
    <message>
        <source>
数値の列が %1 列あります（データファイルは2列です）。</source>
        <translation>
The file has %1 numeric columns (a data file has 2).</translation>
    </message>
    <message>
        <source>
1列目は時刻の列です。</source>
        <translation>
The first column is a time column.</translation>
    </message>
</context>
<context>
    <name>zx::RenameDialog</name>
    <message>
        <source>データファイル名変更ダイアログ</source>
        <translation>Change Data File</translation>
    </message>
    <message>
        <source>データファイルパス</source>
        <translation>data file path</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>zx::Startup</name>
    <message>
        <source>.zx2ファイルをドロップしてください。</source>
        <translation>Drop a .zx2 file on the program.</translation>
    </message>
    <message>
        <source>設定ファイル読み込み</source>
        <translation>Open Settings File</translation>
    </message>
    <message>
        <source>実行ファイルのリネームはできません。</source>
        <translation>The program cannot run under another name.</translation>
    </message>
</context>
<context>
    <name>zx::StatusDialog</name>
    <message>
        <source>計算状況ダイアログ</source>
        <translation>Calculation Status</translation>
    </message>
    <message>
        <source>ただいま計算中です。</source>
        <translation>Calculating...</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
</TS>

#include "ui/jc_map_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "design/map_export.h"
#include "fit/data_jc.h"
#include "fit/fit_data.h"
#include "model/result_path.h"
#include "model/text_file.h"
#include "ui/dialog_helpers.h"
#include "ui/fit_plot_widget.h"
#include "ui/modeless_dialog.h"
#include "ui/open_dialogs.h"
#include "ui/platform.h"
#include "ui/shell.h"
#include "ui/window_place.h"

namespace zx {

namespace {

// Fields along each temperature's curves.
constexpr int kFieldPoints = 100;

QString Number(double v) { return QString::number(v, 'g', 6); }

// "20, 25 30" -> the numbers; false on anything else or none.
bool ParseList(const QString& text, std::vector<double>& out) {
  out.clear();
  QString t = text;
  t.replace(QLatin1Char(','), QLatin1Char(' '));
  for (const QString& item : t.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    bool ok = false;
    const double v = item.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    out.push_back(v);
  }
  return !out.empty();
}

bool ParseNumber(const QString& text, double& out) {
  bool ok = false;
  out = text.trimmed().toDouble(&ok);
  return ok && std::isfinite(out);
}

// The measured temperatures, each once, in ascending order.
std::vector<double> MeasuredTemps(const Project& p) {
  std::vector<double> t;
  for (const CalcCondEntry& c : p.CalcConds.items) t.push_back(c.Temp);
  std::sort(t.begin(), t.end());
  t.erase(std::unique(t.begin(), t.end()), t.end());
  return t;
}

// One curve as two sets: solid inside the data's range, dashed outside,
// meeting at the edges.
void AddCurve(std::vector<PointSet>& sets, Rgb color, const std::vector<double>& x,
              const std::vector<double>& y, const std::vector<bool>& outside) {
  std::vector<double> in(y.size(), NAN), out(y.size(), NAN);
  for (std::size_t i = 0; i < y.size(); ++i) (outside[i] ? out : in)[i] = y[i];
  for (std::size_t i = 1; i < y.size(); ++i)
    if (outside[i] != outside[i - 1]) {
      in[i - 1] = out[i - 1] = y[i - 1];
      in[i] = out[i] = y[i];
    }
  sets.push_back({LineOnly(color, LinePattern::Solid, 2), x, in});
  // A line is drawn segment by segment, each starting its dash pattern
  // anew: every fourth point (and the ends of each run) lets the dashes show.
  PointSet dashed{LineOnly(color, LinePattern::Dash, 2), {}, {}};
  for (std::size_t i = 0; i < out.size(); ++i) {
    const bool end =
        i == 0 || i + 1 == out.size() || std::isnan(out[i - 1]) || std::isnan(out[i + 1]);
    if (std::isnan(out[i]) || end || i % 4 == 0) {
      dashed.x.push_back(x[i]);
      dashed.y.push_back(out[i]);
    }
  }
  sets.push_back(std::move(dashed));
}

}  // namespace

void OpenJcMapDialog(Shell& main) {
  if (RaiseOpenWindow(main, DialogKind::JcMap)) return;
  auto* d = new JcMapDialog(main);
  TrackOwnWindow(main, DialogKind::JcMap, d);
  PlaceBesideMainWindow(d, &main.widget(), QSize(900, 720));
  ShowInFront(d);
  d->Recompute();
}

JcMapDialog::JcMapDialog(Shell& main) : QDialog(&main.widget()), main_(main) {
  SetUpOwnWindow(this, DialogKind::JcMap, tr("Jc(B,T)マップ"));
  BuildInputs();
  // Two rows, so that the window stays narrow in either language.
  QHBoxLayout* tempRow = TemperatureRow();
  QHBoxLayout* fieldRow = FieldRow();
  BuildStatusLines();
  QSplitter* plots = BuildPlots();
  QHBoxLayout* exportRow = ExportRow();

  auto* top = new QVBoxLayout(this);
  top->addLayout(tempRow);
  top->addLayout(fieldRow);
  top->addWidget(status_);
  top->addWidget(error_);
  top->addWidget(plots, 1);
  top->addLayout(exportRow);
  for (QWidget* w : findChildren<QWidget*>()) ApplyMenuFont(w);

  connect(update_, &QPushButton::clicked, this, [this] { Recompute(); });
  for (QLineEdit* e : {temps_, bFrom_, bTo_, criterion_})
    connect(e, &QLineEdit::returnPressed, this, [this] { Recompute(); });
  connect(export_, &QPushButton::clicked, this, &JcMapDialog::ExportClicked);
}

// The edits start at the measured temperatures and the project's criterion.
void JcMapDialog::BuildInputs() {
  const Project& p = main_.project();
  QStringList temps;
  for (double t : MeasuredTemps(p)) temps << Number(t);
  auto edit = [this](const QString& text, const char* name, int width) {
    auto* e = new QLineEdit(text, this);
    e->setObjectName(QString::fromUtf8(name));
    e->setMinimumWidth(width);
    return e;
  };
  temps_ = edit(temps.join(QStringLiteral(", ")), "mapTemps", 120);
  temps_->setToolTip(tr("カンマまたは空白で区切った温度の一覧"));
  bFrom_ = edit(QStringLiteral("0.1"), "mapFieldFrom", 50);
  bTo_ = edit(QStringLiteral("5"), "mapFieldTo", 50);
  criterion_ = edit(Number(p.Params.E_c), "mapCriterion", 70);
  update_ = new QPushButton(tr("更新"), this);
  update_->setObjectName(QStringLiteral("mapUpdate"));
  update_->setDefault(true);
}

QHBoxLayout* JcMapDialog::TemperatureRow() {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(tr("温度(K)"), this));
  row->addWidget(temps_, 1);
  return row;
}

QHBoxLayout* JcMapDialog::FieldRow() {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(tr("磁場(T)"), this));
  row->addWidget(bFrom_, 1);
  row->addWidget(new QLabel(QStringLiteral("-"), this));
  row->addWidget(bTo_, 1);
  row->addWidget(new QLabel(tr("基準電界(V/m)"), this));
  row->addWidget(criterion_, 1);
  row->addWidget(update_);
  return row;
}

void JcMapDialog::BuildStatusLines() {
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("mapStatus"));
  status_->setWordWrap(true);
  error_ = new QLabel(this);
  error_->setObjectName(QStringLiteral("mapError"));
  error_->setStyleSheet(QStringLiteral("color: #d00000;"));
  error_->hide();
}

// Jc above n, the Jc plot the taller.
QSplitter* JcMapDialog::BuildPlots() {
  auto* plots = new QSplitter(Qt::Vertical, this);
  plots->setChildrenCollapsible(false);
  jcPlot_ = new FitPlotWidget(plots);
  jcPlot_->setObjectName(QStringLiteral("mapJcPlot"));
  nPlot_ = new FitPlotWidget(plots);
  nPlot_->setObjectName(QStringLiteral("mapNPlot"));
  plots->setStretchFactor(0, 3);
  plots->setStretchFactor(1, 2);
  return plots;
}

QHBoxLayout* JcMapDialog::ExportRow() {
  format_ = new QComboBox(this);
  format_->setObjectName(QStringLiteral("mapExportFormat"));
  format_->addItems({QStringLiteral("CSV"), QStringLiteral("COMSOL"), QStringLiteral("JSON"),
                     QStringLiteral("PNG"), QStringLiteral("SVG")});
  export_ = new QPushButton(tr("書き出し"), this);
  export_->setObjectName(QStringLiteral("mapExport"));
  export_->setAutoDefault(false);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(format_);
  row->addWidget(export_);
  return row;
}

bool JcMapDialog::Recompute() {
  std::vector<double> temps;
  double from = 0, to = 0, eC = 0;
  QString refused;
  if (!ParseList(temps_->text(), temps))
    refused = tr("温度の一覧を読めません。");
  else if (!ParseNumber(bFrom_->text(), from) || !ParseNumber(bTo_->text(), to) || !(from < to) ||
           from < 0)
    refused = tr("磁場の範囲が正しくありません。");
  else if (!ParseNumber(criterion_->text(), eC) || !(eC > 0))
    refused = tr("基準電界は正の数で入力してください。");
  error_->setText(refused);
  error_->setVisible(!refused.isEmpty());
  if (!refused.isEmpty()) return false;
  const Project& p = main_.project();
  basis_ = LoadDesignBasis(p, p.SettingsFilePath);
  std::vector<double> fields;
  for (int i = 0; i < kFieldPoints; ++i)
    fields.push_back(from + (to - from) * i / (kFieldPoints - 1));
  map_ = ComputeDesignMap(basis_, temps, fields, eC, 0);
  ShowStatus();
  ShowPlots();
  return true;
}

void JcMapDialog::ShowStatus() {
  QString text;
  switch (basis_.record) {
    case RecordState::Current:
      text = basis_.HasBands() ? tr("フィット記録: 最新(95 % 信頼帯を表示)")
                               : tr("フィット記録: 最新(共分散がないため信頼帯なし)");
      break;
    case RecordState::Missing:
      text = tr("フィット記録がありません: 信頼帯なし");
      break;
    case RecordState::Stale:
      text = tr("フィット記録のパラメータがプロジェクトと異なります: 信頼帯なし");
      break;
    case RecordState::Unreadable:
      text = tr("フィット記録を読めません: 信頼帯なし");
      break;
  }
  const DataRange& r = basis_.range;
  if (r.Known())
    text += QStringLiteral("\n") +
            tr("データの範囲: T %1 - %2 K, B %3 - %4 T(範囲外は破線)")
                .arg(Number(r.tMin), Number(r.tMax), Number(r.bMin), Number(r.bMax));
  status_->setText(text);
}

void JcMapDialog::ShowPlots() {
  GraphView jcAxes;
  jcAxes.X.Type = AxisScale::Linear;
  jcAxes.Y.Type = AxisScale::Log;
  jcAxes.X.Title = "B(T)";
  jcAxes.Y.Title = "Jc(A/m^2)";
  GraphView nAxes = jcAxes;
  nAxes.Y.Type = AxisScale::Linear;
  nAxes.Y.Title = "n";
  std::vector<PointSet> jcSets, nSets, dataSets;
  std::vector<PointBand> jcBands, nBands;
  std::vector<LegendEntry> legend;
  const std::size_t nb = map_.fields.size();
  for (std::size_t i = 0; i < map_.temps.size(); ++i) {
    const Rgb curve = CurvePalette[i % 6], data = DataPalette[i % 6];
    std::vector<double> jc(nb), jl(nb), ju(nb), n(nb), nl(nb), nu(nb);
    std::vector<bool> outside(nb);
    for (std::size_t j = 0; j < nb; ++j) {
      const DesignPoint& pt = map_.points[i * nb + j];
      jc[j] = pt.jc;
      jl[j] = pt.jcLower;
      ju[j] = pt.jcUpper;
      n[j] = pt.n;
      nl[j] = pt.nLower;
      nu[j] = pt.nUpper;
      outside[j] = pt.extrapolated;
    }
    AddCurve(jcSets, curve, map_.fields, jc, outside);
    AddCurve(nSets, curve, map_.fields, n, outside);
    if (basis_.HasBands()) {
      jcBands.push_back({BandFill(curve), map_.fields, jl, ju});
      nBands.push_back({BandFill(curve), map_.fields, nl, nu});
    }
    legend.push_back({(Number(map_.temps[i]) + QStringLiteral(" K")).toStdString(), data, curve});
  }
  // The data's own Jc at the criterion, at the temperatures listed.
  const FitInput in = TakeFitInput(main_.project());
  for (const ConditionData& c : in.conditions) {
    const auto at = std::find_if(map_.temps.begin(), map_.temps.end(),
                                 [&](double t) { return std::fabs(t - c.temp) < 1e-9; });
    if (at == map_.temps.end() || c.x.empty()) continue;
    const Rgb color = DataPalette[static_cast<std::size_t>(at - map_.temps.begin()) % 6];
    if (in.mode == CalcMode::EJ) {
      const double jc = DataJc(c.x, c.y, map_.eC);
      if (std::isfinite(jc)) dataSets.push_back({MarkersOnly(color, 4), {c.field}, {jc}});
    } else if (map_.eC == main_.project().Params.E_c) {
      dataSets.push_back({MarkersOnly(color, 4), c.x, c.y});
    }
  }
  jcSets.insert(jcSets.end(), dataSets.begin(), dataSets.end());
  jcPlot_->SetContent(jcAxes, std::move(jcSets), std::move(jcBands), std::move(legend));
  nPlot_->SetContent(nAxes, std::move(nSets), std::move(nBands));
}

QString JcMapDialog::Export(const QString& path, MapExport format) {
  const Project& p = main_.project();
  const bool image = format == MapExport::Png || format == MapExport::Svg;
  std::vector<QString> targets;
  if (image) {
    const QFileInfo info(path);
    const QString base = info.dir().filePath(info.completeBaseName());
    const QString ext = format == MapExport::Png ? QStringLiteral(".png") : QStringLiteral(".svg");
    targets = {base + QStringLiteral("-jc") + ext, base + QStringLiteral("-n") + ext};
  } else {
    targets = {path};
  }
  for (const QString& t : targets) switch (CheckResultPath(p, t.toStdString())) {
      case ResultPathClash::DataFile:
        return tr("書き出し先にデータファイルは指定できません。");
      case ResultPathClash::SettingsFile:
        return tr("書き出し先に設定ファイルは指定できません。");
      case ResultPathClash::None:
        break;
    }
  const QString cannot = tr("ファイルを書き出せません。");
  if (image) {
    if (!jcPlot_->Export(targets[0].toStdString()) || !nPlot_->Export(targets[1].toStdString()))
      return cannot;
    return {};
  }
  const MapFormat f = format == MapExport::Comsol ? MapFormat::Comsol
                      : format == MapExport::Json ? MapFormat::Json
                                                  : MapFormat::Csv;
  return WriteFileAtomically(path.toStdString(), MapText(map_, basis_, f)) ? QString() : cannot;
}

void JcMapDialog::ExportClicked() {
  static const char* const kFilters[] = {
      QT_TR_NOOP("CSVファイル(*.csv)"), QT_TR_NOOP("COMSOL補間ファイル(*.txt)"),
      QT_TR_NOOP("JSONファイル(*.json)"), QT_TR_NOOP("PNG画像(*.png)"),
      QT_TR_NOOP("SVG画像(*.svg)")};
  static const char* const kSuffixes[] = {".csv", ".txt", ".json", ".png", ".svg"};
  const int k = std::clamp(format_->currentIndex(), 0, 4);
  const std::optional<QString> path = ThePlatform().SaveFile(this, tr("書き出し"), tr(kFilters[k]));
  if (!path || path->isEmpty()) return;
  QString target = *path;
  if (QFileInfo(target).suffix().isEmpty()) target += QString::fromLatin1(kSuffixes[k]);
  if (const QString refused = Export(target, static_cast<MapExport>(k)); !refused.isEmpty())
    ShowWarning(this, refused);
}

}  // namespace zx

// The toolkit's own texts in the boxes and choosers of the platform layer
// are Japanese like the rest of the program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "ui/platform.h"

namespace zx::test {
namespace {

// Runs `look` on the modal dialog that `open` shows, as soon as it is up;
// `look` must close it.
void WhileModal(const std::function<void(QWidget*)>& look, const std::function<void()>& open) {
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      poll.stop();
      look(modal);
    }
  });
  poll.start();
  open();
}

TEST(PlatformTexts, MessageBoxButtonsAreJapanese) {
  QStringList texts;
  MsgAnswer answer = MsgAnswer::Ok;
  WhileModal(
      [&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons()) texts << b->text();
        box->button(QMessageBox::No)->click();
      },
      [&] { answer = ShowMessage(nullptr, "t", "c", MsgButtons::YesNoCancel, MsgIcon::Question); });
  QStringList expected = {"はい", "いいえ", "キャンセル"};
  texts.sort();
  expected.sort();
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(answer, MsgAnswer::No);

  WhileModal(
      [&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        ASSERT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->buttons()[0]->text(), "OK");
        box->buttons()[0]->click();
      },
      [&] { ShowMessage(nullptr, "t"); });
}

TEST(PlatformTexts, FileChooserLabelsAreJapanese) {
  auto labels = [](QWidget* w, const QString& accept) {
    auto* chooser = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(chooser, nullptr);
    auto label = [chooser](const char* name) {
      auto* l = chooser->findChild<QLabel*>(QString::fromLatin1(name));
      return l ? l->text() : QStringLiteral("<none>");
    };
    EXPECT_EQ(label("lookInLabel"), "ファイルの場所:");
    EXPECT_EQ(label("fileNameLabel"), "ファイル名(&N):");
    EXPECT_EQ(label("fileTypeLabel"), "ファイルの種類:");
    auto* buttons = chooser->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QStringList texts;
    for (QAbstractButton* b : buttons->buttons()) texts << b->text();
    EXPECT_TRUE(texts.contains(accept)) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains("キャンセル")) << texts.join('|').toStdString();
    chooser->reject();
  };
  std::optional<QString> chosen = QString();
  WhileModal([&](QWidget* w) { labels(w, "保存(&S)"); },
             [&] { chosen = ThePlatform().SaveFile(nullptr, "t", ".zx2ファイル(*.zx2)"); });
  EXPECT_FALSE(chosen.has_value());
  WhileModal([&](QWidget* w) { labels(w, "開く(&O)"); },
             [&] { chosen = ThePlatform().OpenFile(nullptr, "t", ".zx2ファイル(*.zx2)"); });
  EXPECT_FALSE(chosen.has_value());
}

}  // namespace
}  // namespace zx::test

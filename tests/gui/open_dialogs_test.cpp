#include "ui/open_dialogs.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <memory>

namespace zx {
namespace {

TEST(OpenDialogs, OnlyTheHolderGivesUpItsPlaceAndADeletedDialogNeverCounts) {
  OpenDialogs open;
  EXPECT_FALSE(open.IsOpen(DialogKind::Axis));
  auto first = std::make_unique<QDialog>();
  auto second = std::make_unique<QDialog>();
  open.Opened(DialogKind::Axis, first.get());
  EXPECT_EQ(open.Find(DialogKind::Axis), first.get());
  EXPECT_FALSE(open.IsOpen(DialogKind::Mode));  // kinds are apart

  // A newer dialog of the kind takes the place; the older one ending late
  // leaves it alone.
  open.Opened(DialogKind::Axis, second.get());
  open.Ended(DialogKind::Axis, first.get());
  EXPECT_EQ(open.Find(DialogKind::Axis), second.get());

  // Deleted without ending (its owner went away): no stale pointer.
  second.reset();
  EXPECT_FALSE(open.IsOpen(DialogKind::Axis));
  open.Opened(DialogKind::Axis, first.get());
  open.Ended(DialogKind::Axis, first.get());
  EXPECT_EQ(open.Find(DialogKind::Axis), nullptr);
}

}  // namespace
}  // namespace zx

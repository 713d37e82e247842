#include "model/view_follow.h"

namespace zx {

void FollowDocument(ViewState& v, const Document& d, const DocChange& change) {
  const Project& p = d.project;
  switch (change.kind) {
    case ChangeKind::ProjectReplaced:
      v.CorrCoefs.clear();
      RebuildSeriesLists(v, p);
      break;
    case ChangeKind::ModeChanged:
      ApplyModeAxes(v.View, p.Settings.Mode);
      RebuildSeriesLists(v, p);
      break;
    case ChangeKind::CalcCondChanged:
      if (const RegistryEntry* e = p.CalcConds.Find(change.no)) ClearCorrCoef(v, *e);
      RebuildSeriesLists(v, p);
      break;
    case ChangeKind::DataFileAdded:
    case ChangeKind::DataFileRenamed:
    case ChangeKind::DataFilesDeleted:
    case ChangeKind::CalcCondAdded:
    case ChangeKind::CalcCondsDeleted:
      RebuildSeriesLists(v, p);
      break;
    case ChangeKind::SettingsChanged:
    case ChangeKind::ParamsChanged:
    case ChangeKind::ProjectSaved:
    case ChangeKind::AxesChanged:
      break;
  }
  FollowRefits(v, d);
}

void FollowRefits(ViewState& v, const Document& d) {
  if (v.RefitsFollowed == d.refitRequests) return;
  v.RefitsFollowed = d.refitRequests;
  RequestRefit(v.View);
}

}  // namespace zx

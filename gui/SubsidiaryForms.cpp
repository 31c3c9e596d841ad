#include "gui/SubsidiaryForms.h"

namespace zrv::ui {

namespace {
constexpr const char* kPersonsCaption = "Регистър на фирми и граждани";
constexpr const char* kNmSelectCaption = "Избор на населено място";

// The population register is an automation server of the workstation; there is
// none on this platform, so the lookup object cannot be created. The failure is
// ignored, as at start-up.
bool TryCreatePopulationRegisterLookup() { return false; }
}  // namespace

TfrmPersons::TfrmPersons(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QString::fromUtf8(kPersonsCaption));
  registerAvailable_ = TryCreatePopulationRegisterLookup();
}

TfrmNmSelect::TfrmNmSelect(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QString::fromUtf8(kNmSelectCaption));
}

}  // namespace zrv::ui

#pragma once
// The two forms that start-up creates beside the import window and never shows:
// the register of citizens and firms and the settlement picker. They are kept
// as empty forms with their captions; the import needs neither.

#include <QWidget>

namespace zrv::ui {

// "Регистър на фирми и граждани". Creating it tries to reach the population
// register and ignores a failure, as the register is not needed for an import.
class TfrmPersons : public QWidget {
 public:
  explicit TfrmPersons(QWidget* parent = nullptr);
  // True when the population register could be reached at creation.
  bool PopulationRegisterAvailable() const { return registerAvailable_; }

 private:
  bool registerAvailable_ = false;
};

// "Избор на населено място".
class TfrmNmSelect : public QWidget {
 public:
  explicit TfrmNmSelect(QWidget* parent = nullptr);
};

}  // namespace zrv::ui

#pragma once
// Qt's own texts (dialog buttons, the file dialog, context menus) in Bulgarian,
// from the translations installed with Qt.

#include <QCoreApplication>

namespace zrv::ui {

// Installs Qt's Bulgarian translation on `app`; false when it is not installed
// (Qt's texts then stay English).
bool InstallQtBulgarian(QCoreApplication& app);

}  // namespace zrv::ui

#include "gui/QtBulgarian.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace zrv::ui {

namespace {
const char* const kQtTranslation = "qtbase_bg";
}

bool InstallQtBulgarian(QCoreApplication& app) {
  // Owned by the application, so it lives as long as the texts are used.
  auto* translator = new QTranslator(&app);
  if (!translator->load(QString::fromLatin1(kQtTranslation),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

}  // namespace zrv::ui

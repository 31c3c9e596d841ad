// Writes the program's icon as a PNG file for the desktop entry:
//   make_icon SIZE OUTPUT.png

#include <QGuiApplication>
#include <iostream>
#include <string>

#include "gui/AppIcon.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_icon SIZE OUTPUT.png\n";
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int size = std::stoi(argv[1]);
  if (!zrv::ui::DrawAppIcon(size).save(QString::fromLocal8Bit(argv[2]))) {
    std::cerr << "cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}

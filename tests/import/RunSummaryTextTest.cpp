// The words of a run's summary, shared by `zorvit import` and the window.

#include <gtest/gtest.h>

#include <filesystem>

#include "import/RunSummaryText.h"

namespace zrv::import {
namespace {

TEST(RunSummaryText, LinesLineUpAndNameWhatIsUnknownOrMissing) {
  ImportSummary s;
  s.rowsRead = 19;
  s.contractsStored = 18;
  s.classifierEntriesAdded = -1;
  s.elapsedSeconds = 1.234;
  const std::string text = SummaryText(s);
  EXPECT_NE(text.find("Прочетени редове:            19\n"), std::string::npos);
  EXPECT_NE(text.find("Добавени в класификаторите:  неизвестно\n"), std::string::npos);
  EXPECT_NE(text.find("Лог файл:                    няма (без грешки)\n"), std::string::npos);
  EXPECT_NE(text.find("Време:                       1.23 с\n"), std::string::npos);

  s.logProblem = "Лог файлът не може да се запише в /x: няма място.";
  EXPECT_EQ(SummaryLines(s)[7].value,
            "НЕ Е ЗАПИСАН. Лог файлът не може да се запише в /x: няма място.");

  // A log written in the current directory is named by its full path.
  s.logFile = "log_a.xls_1.5.txt";
  const auto lines = SummaryLines(s);
  const std::string expected = (std::filesystem::current_path() / s.logFile).string();
  EXPECT_EQ(lines[7].label, "Лог файл:");
  EXPECT_EQ(lines[7].value, expected);
}

}  // namespace
}  // namespace zrv::import

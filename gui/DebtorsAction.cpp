#include "gui/DebtorsAction.h"

#include <QDate>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QTime>
#include <exception>
#include <filesystem>

#include "common/Text.h"
#include "state/DebtorTable.h"

namespace zrv::ui {

namespace {
const char* const kDialogTitle = "Длъжници";
const char* const kDateLabel = "Длъжници към дата:";
const char* const kFileName = "длъжници_%s_%s.xlsx";
const char* const kTimeFormat = "HHmmss";
const char* const kDateFormat = "dd.MM.yyyy";

QString Tr(const char* utf8) { return QString::fromUtf8(utf8); }
}  // namespace

std::optional<std::string> DebtorsAction::Run(const std::string& folder,
                                              const state::DebtorProgress& progress) {
  const std::optional<TDate> date = askDate_();
  if (!date) return std::nullopt;
  try {
    state::DebtorOptions options;
    options.date = *date;
    const state::DebtorList list = state::ReadDebtors(db_, options, progress);
    // The time in the name keeps an earlier list of the same date, which may
    // be open in the spreadsheet application.
    const std::string time = QTime::currentTime().toString(kTimeFormat).toStdString();
    const std::string path =
        (std::filesystem::path(folder) / Format(kFileName, FormatDMY(*date).c_str(), time.c_str()))
            .string();
    state::WriteDebtorsWorkbook(list, path);
    open_(QUrl::fromLocalFile(QFileInfo(QString::fromStdString(path)).absoluteFilePath()));
    return path;
  } catch (const std::exception& e) {
    messages_.ShowMessage(e.what());
    return std::nullopt;
  }
}

std::optional<TDate> AskDebtorsDate(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle(Tr(kDialogTitle));
  auto* edit = new QDateEdit(QDate::currentDate(), &dialog);
  edit->setCalendarPopup(true);
  edit->setDisplayFormat(kDateFormat);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QFormLayout(&dialog);
  layout->addRow(Tr(kDateLabel), edit);
  layout->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QDate d = edit->date();
  return EncodeDate(d.year(), d.month(), d.day());
}

}  // namespace zrv::ui

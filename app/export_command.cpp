#include "app/export_command.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QRadioButton>

#include "app/export_dialog.h"
#include "data/lexicon_export.h"
#include "ui/dialog_seam.h"

namespace {

constexpr int kProgressDelay = 500;  // milliseconds before the progress dialog appears

QString exportFileName(QWidget* parent) {
  const QList<ui::FileType> types = {{QStringLiteral("CSV files"), QStringLiteral("csv")},
                                     {QStringLiteral("JSON files"), QStringLiteral("json")}};
  for (;;) {
    const QString file =
        ui::askSaveFileName(parent, QStringLiteral("Export"), QDir::home().filePath(QStringLiteral("units.csv")), types);
    if (file.isEmpty() || data::exportFormatOf(file.toStdString())) return file;
    ui::showWarning(parent, QStringLiteral("Choose a file name ending in .csv or .json."));
  }
}

}  // namespace

void exportUnits(engine::Database& lexicon, const std::string& countryId, const QString& countryName, QWidget* parent) {
  TfmExport options(countryName, parent);
  if (ui::dialogs().exec(options) != QDialog::Accepted) return;
  const data::ExportChoice choice{options.rbCurrentCountry->isChecked() ? std::optional(countryId) : std::nullopt,
                                  options.cbWithdrawn->isChecked()};
  const QString file = exportFileName(parent);
  if (file.isEmpty()) return;

  QProgressDialog progress(QStringLiteral("Exporting units..."), QStringLiteral("Cancel"), 0, 1, parent);
  progress.setObjectName(QStringLiteral("ExportProgress"));
  progress.setWindowTitle(QStringLiteral("Export"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(kProgressDelay);
  const auto moved = [&](std::size_t written, std::size_t total) {
    progress.setMaximum(static_cast<int>(total));
    return ui::dialogs().progress(progress, static_cast<int>(written));
  };
  const data::ExportSummary summary = data::exportLexicon(lexicon, choice, QFile::encodeName(file).toStdString(), moved);
  if (summary.outcome == data::ExportOutcome::Written) {
    ui::showInformation(parent, QStringLiteral("%1 units exported to %2.").arg(summary.units).arg(QDir::toNativeSeparators(file)));
  }
}

#pragma once
// The "Export" dialog of File > Export: which units to write (those of the current country or of
// every country) and whether withdrawn units go with them; OK and Cancel.
#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

class TfmExport : public QDialog {
  Q_OBJECT
 public:
  // countryName: the country that the main window browses, named on the first choice.
  TfmExport(const QString& countryName, QWidget* owner);

  QRadioButton* rbCurrentCountry;
  QRadioButton* rbAllCountries;
  QCheckBox* cbWithdrawn;
  QPushButton* bbOK;
  QPushButton* bbCancel;
};

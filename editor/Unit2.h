#pragma once

#include <QDialog>

#include "core/map_grid.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

// "Set map parameters": asked by Save and by Paint .BMPs. Created once and
// kept, so its fields (the map number above all) live on between uses.
class TForm2 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm2(QWidget* parent = nullptr);

  // The spin boxes bring out-of-range presets into their ranges.
  void presetSize(int columns, int rows);
  // Map number, columns and rows as the dialog holds them.
  kxc2::MapHeader parameters() const;
  // Terrtype's chosen item: 0 summer terrain, 1 winter terrain.
  int terrainIndex() const;
  void setTerrainIndex(int index);

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QSpinBox* SECols = nullptr;
  QSpinBox* SERows = nullptr;
  QSpinBox* SEMapno = nullptr;
  QGroupBox* Terrtype = nullptr;
  QRadioButton* SummerTerrain = nullptr;
  QRadioButton* WinterTerrain = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;

 public slots:
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;
  // Only OK, Cancel, Enter and Escape close the dialog.
  void closeEvent(QCloseEvent* event) override;

 private:
  void createLabels();
  void createSpinEdits();
  void createTerrtype();
  void createButtons();
};

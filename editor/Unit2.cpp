#include "editor/Unit2.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "editor/form_style.h"

namespace {

constexpr unsigned kYellow = 0x0000FFFF;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect bounds, bool wrapped) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setWordWrap(wrapped);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  if (bounds.isEmpty()) {
    label->move(bounds.topLeft());
    label->adjustSize();
  } else {
    label->setGeometry(bounds);
  }
  return label;
}

QSpinBox* MakeSpinEdit(QWidget* parent, const char* name, QRect bounds, int minimum, int maximum,
                       int value) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(name);
  spin->setGeometry(bounds);
  spin->setRange(minimum, maximum);
  spin->setValue(value);
  // A typed number outside the range becomes the nearest bound, not the old value.
  spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  return spin;
}

}  // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName("Form2");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowTitle("Set map parameters");
  setModal(true);
  setFixedSize(233, 324);
  setFont(kxc2::SansSerifFont(11));
  kxc2::SetBackground(*this, kxc2::BgrColor(kYellow));

  createLabels();
  createSpinEdits();
  createTerrtype();
  createButtons();

  setTabOrder(SECols, SERows);
  setTabOrder(SERows, SEMapno);
  setTabOrder(SEMapno, SummerTerrain);
  setTabOrder(SummerTerrain, WinterTerrain);
  setTabOrder(WinterTerrain, BitBtn1);
  setTabOrder(BitBtn1, BitBtn2);
}

void TForm2::createLabels() {
  Label5 = MakeLabel(this, "Label5",
                     "The column and row counts include an unplayable column/row at each side of the "
                     "map; add 2 to the coordinates of the hex at the bottom right of the playable area",
                     QRect(14, 12, 206, 58), true);
  Label1 = MakeLabel(this, "Label1", "Columns (16 - 44)", QRect(30, 77, 0, 0), false);
  Label2 = MakeLabel(this, "Label2", "Rows (11 - 39)", QRect(29, 115, 0, 0), false);
  Label4 = MakeLabel(this, "Label4", "The map number links the map to its .BMP and .SHP files",
                     QRect(14, 147, 202, 26), true);
  Label3 = MakeLabel(this, "Label3", "Map number (32 - 99)", QRect(29, 186, 0, 0), false);
}

void TForm2::createSpinEdits() {
  SECols = MakeSpinEdit(this, "SECols", QRect(167, 71, 50, 22), 16, 44, 30);
  SERows = MakeSpinEdit(this, "SERows", QRect(167, 110, 50, 22), 11, 39, 20);
  SEMapno = MakeSpinEdit(this, "SEMapno", QRect(167, 181, 50, 22), 32, 99, 32);
}

void TForm2::createTerrtype() {
  Terrtype = new QGroupBox("Paint bitmaps using...", this);
  Terrtype->setObjectName("Terrtype");
  Terrtype->setGeometry(57, 216, 119, 56);
  SummerTerrain = new QRadioButton("Summer terrain", Terrtype);
  SummerTerrain->setObjectName("SummerTerrain");
  SummerTerrain->setGeometry(8, 19, 105, 16);
  WinterTerrain = new QRadioButton("Winter terrain", Terrtype);
  WinterTerrain->setObjectName("WinterTerrain");
  WinterTerrain->setGeometry(8, 36, 105, 16);
  SummerTerrain->setChecked(true);
}

void TForm2::createButtons() {
  BitBtn1 = new QPushButton("OK", this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setGeometry(17, 285, 75, 25);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm2::accept);

  BitBtn2 = new QPushButton("Cancel", this);
  BitBtn2->setObjectName("BitBtn2");
  BitBtn2->setGeometry(141, 285, 75, 25);
  connect(BitBtn2, &QPushButton::clicked, this, &TForm2::reject);
}

void TForm2::presetSize(int columns, int rows) {
  SECols->setValue(columns);
  SERows->setValue(rows);
}

kxc2::MapHeader TForm2::parameters() const {
  return kxc2::MapHeader{SEMapno->value(), SECols->value(), SERows->value()};
}

int TForm2::terrainIndex() const { return WinterTerrain->isChecked() ? 1 : 0; }

void TForm2::setTerrainIndex(int index) { (index == 1 ? WinterTerrain : SummerTerrain)->setChecked(true); }

void TForm2::accept() {
  // A number still being typed counts, brought into range.
  SECols->interpretText();
  SERows->interpretText();
  SEMapno->interpretText();
  QDialog::accept();
}

void TForm2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  kxc2::CentreOnScreen(*this);
  SECols->setFocus(Qt::OtherFocusReason);
}

void TForm2::closeEvent(QCloseEvent* event) { event->ignore(); }

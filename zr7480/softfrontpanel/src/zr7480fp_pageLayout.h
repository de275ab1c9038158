#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QWidget;

// How the card's pages build their group boxes: centred grids of labelled
// controls, each control with its What's This help.
namespace zr7480fp_pageLayout {

// A combo box with the items, in order; an item's index is its driver value.
QComboBox *combo(const QStringList &items, const QString &help);
// The box's grid, centred in the box; a spacing of -1 keeps the style's.
QGridLayout *centredGrid(QGroupBox *box, int horizontal = -1, int vertical = -1);
// The label in column `column`, the control in the next one; the label
// names the control on the accessibility bus.
void addRow(QGridLayout *grid, int row, int column, const QString &label, QWidget *control,
            Qt::Alignment labelAlignment = Qt::Alignment());

} // namespace zr7480fp_pageLayout

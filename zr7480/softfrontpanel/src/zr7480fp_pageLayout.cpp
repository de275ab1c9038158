#include "zr7480fp_pageLayout.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "app/zr6200fp_help.h"

namespace zr7480fp_pageLayout {

QComboBox *combo(const QStringList &items, const QString &help)
{
    auto *box = new QComboBox;
    box->addItems(items);
    zr6200fp_help::setHelp(box, help);
    return box;
}

QGridLayout *centredGrid(QGroupBox *box, int horizontal, int vertical)
{
    auto *grid = new QGridLayout(box);
    grid->setAlignment(Qt::AlignCenter);
    grid->setHorizontalSpacing(horizontal);
    grid->setVerticalSpacing(vertical);
    return grid;
}

void addRow(QGridLayout *grid, int row, int column, const QString &label, QWidget *control,
            Qt::Alignment labelAlignment)
{
    auto *caption = new QLabel(label);
    // The caption names the control for a screen reader.
    caption->setBuddy(control);
    grid->addWidget(caption, row, column, labelAlignment);
    grid->addWidget(control, row, column + 1);
}

} // namespace zr7480fp_pageLayout

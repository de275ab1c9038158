#include "zr6200fp_fcSelect.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "zr6200fp_genFC.h"
#include "zr6200fp_icons.h"

namespace {

bool isSelectable(const QTreeWidgetItem *item)
{
    return item && item->flags().testFlag(Qt::ItemIsSelectable);
}

} // namespace

zr6200fp_fcSelect::zr6200fp_fcSelect(zr6200fp_genFC *card, int multiSelect)
    : QDialog(nullptr)
    , okButton(new QPushButton(tr("OK"), this))
    , tree(new QTreeWidget(this))
    , cancelButton(new QPushButton(tr("Cancel"), this))
    , card(card)
{
    setWindowTitle(selectionTitle());
    setWindowIcon(zr6200fp_icons::windowIcon());

    auto *dialogLayout = new QVBoxLayout(this);
    tree->setColumnCount(2);
    tree->setHeaderLabels({tr("System"), tr("FC Model")});
    const int side = 24 * fontMetrics().height();
    tree->setMinimumSize(side, side);
    if (multiSelect)
        tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
    dialogLayout->addWidget(tree);

    auto *buttonLine = new QHBoxLayout;
    buttonLine->addStretch();
    buttonLine->addWidget(okButton);
    buttonLine->addWidget(cancelButton);
    dialogLayout->addLayout(buttonLine);

    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(okButton, &QPushButton::clicked, this, &zr6200fp_fcSelect::okPressed);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, &zr6200fp_fcSelect::dblClick);
    adjustSize();
}

QString zr6200fp_fcSelect::selectionTitle() const
{
    return tr("Tervix %1 SFP: Select Function Card").arg(card->modelText());
}

const char *zr6200fp_fcSelect::hintText()
{
    return "Select one available function card and then click \"OK\" \nor click \"Cancel\" to quit";
}

void zr6200fp_fcSelect::okPressed()
{
    selectedItems = tree->selectedItems();
    fcCount = int(selectedItems.size());
    descriptor.clear();
    if (fcCount < 1)
        return;
    // The search lists at most kMaxCards selectable cards.
    if (fcCount > kMaxCards) {
        qDebug("%s", hintText());
        return;
    }
    for (int i = 0; i < fcCount; ++i) {
        const QTreeWidgetItem *item = selectedItems.at(i);
        if (!isSelectable(item)) {
            qDebug("%s", hintText());
            return;
        }
        fcNumbers[size_t(i)] = quint16(item->data(0, Qt::StatusTipRole).toInt());
        descriptor += item->data(1, Qt::StatusTipRole).toString();
        if (i == fcCount - 1)
            accept();
        else
            descriptor += QLatin1Char(',');
    }
}

void zr6200fp_fcSelect::dblClick(QTreeWidgetItem *item)
{
    if (!isSelectable(item))
        return;
    const QTreeWidgetItem *current = tree->currentItem();
    if (!isSelectable(current)) {
        qDebug("%s", hintText());
        return;
    }
    fcNumbers[0] = quint16(current->data(0, Qt::StatusTipRole).toInt());
    descriptor = current->data(1, Qt::StatusTipRole).toString();
    fcCount = 1;
    accept();
}

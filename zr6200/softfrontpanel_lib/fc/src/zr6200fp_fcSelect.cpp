#include "fc/zr6200fp_fcSelect.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

#include "app/zr6200fp_messages.h"
#include "core/zr6200fp_cardModels.h"
#include "driver/zr6200fp_driverText.h"
#include "driver/zr6200fp_driverTrace.h"
#include "driver/zr6200fp_genFC.h"
#include "fc/zr6200fp_fcEnterAddress.h"
#include "resources/zr6200fp_icons.h"
#include "search/zr6200fp_search.h"
#include "zr6200.h"
#include "zr6200fp_questionBox.h"
#include "zr6200fp_searchProgress.h"

namespace {

// Entries made into tree items at each pass of the event loop: about a
// millisecond's work.
constexpr size_t kEntriesPerSlice = 256;

bool isSelectable(const QTreeWidgetItem *item)
{
    return item && item->flags().testFlag(Qt::ItemIsSelectable);
}

int enterDemoMode(zr6200fp_fcSelect &select)
{
    select.demoMode = 1;
    select.fcNumbers[0] = 1;
    select.descriptor = QStringLiteral("VXI0::1::INSTR");
    select.fcCount = 1;
    return 1;
}

// Shows the address dialog until it gives usable addresses (true) or is
// rejected (false).
bool takeAddresses(zr6200fp_fcSelect &select, zr6200fp_fcEnterAddress &addresses)
{
    for (;;) {
        addresses.loadAddresses();
        if (addresses.exec() != QDialog::Accepted)
            return false;
        QStringList descriptors;
        QList<int> numbers;
        addresses.getAddresses(descriptors, numbers);
        const QString problem = zr6200fp_fcSelect::addressProblem(descriptors, numbers);
        if (!problem.isEmpty()) {
            warningMessage(problem);
            continue;
        }
        select.descriptor = descriptors.join(QLatin1Char(','));
        for (int i = 0; i < numbers.size(); ++i)
            select.fcNumbers[size_t(i)] = quint16(numbers.at(i));
        select.fcCount = int(descriptors.size());
        return true;
    }
}

QString failureText(const zr6200fp_genFC *card, ViStatus status)
{
    const QString text = card->getErrorMessage(status);
    if (!text.isEmpty())
        return text;
    char buffer[ZR6200_STATUS_TEXT_SIZE] = {};
    ZR_DRIVER_CALL(getStatusText, status, buffer);
    return zr6200fp_driverText::orStatus(zr6200fp_driverText::fromBuffer(buffer), status);
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
    tree->setAccessibleName(tr("Function Cards"));
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
    // The dialog opens in the tree, where the choice is made; then OK.
    setTabOrder(tree, okButton);
    setTabOrder(okButton, cancelButton);
    tree->setFocus();
    adjustSize();
}

QString zr6200fp_fcSelect::selectionTitle() const
{
    return tr("Tervix %1 SFP: Select Function Card").arg(zr6200fp_cardModels::modelText(card->modelCode));
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
    if (fcCount > zr6200fp_genFC::kMaxCards) {
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

int zr6200fp_fcSelect::searchCards()
{
    // The items of the last search go with the tree.
    selectedItems.clear();
    tree->clear();

    ViSession rm = 0;
    if (ZR_DRIVER_CALL(viOpenDefaultRM, &rm) != VI_SUCCESS) {
        ZR_DRIVER_CALL(viClose, rm);
        return 0;
    }
    int selectable = 0;
    {
        zr6200fp_search search(card, rm);
        if (search.resourceCount() > 0)
            selectable = showSearch(search);
    }
    ZR_DRIVER_CALL(viClose, rm);
    return selectable;
}

// The items made so far from the search's list, not yet in the tree.
struct zr6200fp_fcSelect::TreeFill
{
    std::vector<resourceEntry> entries;
    size_t next = 0;
    QList<QTreeWidgetItem *> tops;
    QList<QTreeWidgetItem *> expanded;
    std::optional<QString> previousPrefix;
    int selectable = 0;
};

int zr6200fp_fcSelect::showSearch(zr6200fp_search &search)
{
    zr6200fp_searchProgress progress(tr("Tervix %1").arg(zr6200fp_cardModels::modelText(card->modelCode)),
                                     search.future(), this);
    // The box stays while the items are made, a slice of entries at each
    // pass of its event loop, and put into the tree at once: for thousands
    // of resources, item by item into the tree, or all in one pass, would
    // keep the GUI thread from painting for frames.
    TreeFill fill;
    std::function<void()> nextSlice = [&] {
        if (fillSlice(fill)) {
            QTimer::singleShot(0, &progress, nextSlice);
            return;
        }
        tree->addTopLevelItems(fill.tops);
        for (QTreeWidgetItem *item : std::as_const(fill.expanded))
            item->setExpanded(true);
        tree->resizeColumnToContents(0);
        tree->resizeColumnToContents(1);
        progress.reset();
    };
    connect(&progress, &zr6200fp_searchProgress::searched, &progress, [&] {
        fill.entries = search.takeFound();
        nextSlice();
    });
    progress.exec();
    return fill.selectable;
}

bool zr6200fp_fcSelect::fillSlice(TreeFill &fill)
{
    const size_t end = std::min(fill.entries.size(), fill.next + kEntriesPerSlice);
    for (; fill.next < end; ++fill.next) {
        // Taken out of the list, which is then freed a slice at a time too.
        const resourceEntry entry = std::move(fill.entries[fill.next]);
        const int colon = int(entry.descriptor.indexOf(QLatin1Char(':')));
        const QString prefix = colon < 0 ? entry.descriptor : entry.descriptor.left(colon);
        if (!fill.previousPrefix || prefix != *fill.previousPrefix) {
            fill.tops.append(new QTreeWidgetItem(QStringList{prefix}));
            fill.tops.last()->setFlags(Qt::ItemIsEnabled);
            fill.expanded.append(fill.tops.last());
            fill.previousPrefix = prefix;
        }
        if (entry.carrierLabel.isEmpty())
            continue;
        const int before = fill.selectable;
        QTreeWidgetItem *carrierItem = addCarrier(fill.tops.last(), entry, fill.selectable);
        if (fill.selectable > before)
            fill.expanded.append(carrierItem);
        if (fill.selectable == zr6200fp_genFC::kMaxCards) {
            zr6200fp_questionBox::ask(
                QApplication::activeWindow(), selectionTitle(),
                tr("Found more Function Cards than supported by this SoftFrontPanel. Only first %1 are "
                   "available.\nPlease contact Halvar's support if you need support for more cards.")
                    .arg(zr6200fp_genFC::kMaxCards),
                {tr("Continue")});
            return false;
        }
    }
    return fill.next < fill.entries.size();
}

QTreeWidgetItem *zr6200fp_fcSelect::addCarrier(QTreeWidgetItem *top, const resourceEntry &entry, int &selectable)
{
    auto *carrierItem = new QTreeWidgetItem(top, entry.carrierLabel);
    carrierItem->setFlags(Qt::ItemIsEnabled);
    for (int j = 0; j < entry.fcRows.size() && selectable < zr6200fp_genFC::kMaxCards; ++j) {
        auto *cardItem = new QTreeWidgetItem(carrierItem, entry.fcRows.at(j));
        const int number = entry.fcSlotNumbers.value(j);
        cardItem->setData(0, Qt::StatusTipRole, number);
        cardItem->setData(1, Qt::StatusTipRole, entry.descriptor);
        if (number == 0) {
            cardItem->setFlags(Qt::NoItemFlags);
            continue;
        }
        cardItem->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        descriptor = entry.descriptor;
        fcNumbers[0] = quint16(number);
        ++selectable;
    }
    return carrierItem;
}

QString zr6200fp_fcSelect::addressProblem(const QStringList &descriptors, const QList<int> &numbers)
{
    if (descriptors.isEmpty() || numbers.isEmpty() || descriptors.size() != numbers.size())
        return tr("Please enter at least one resource descriptor and select the Function Card number.");
    for (int i = 0; i < descriptors.size(); ++i) {
        if (descriptors.at(i).isEmpty() || numbers.at(i) == 0) {
            return descriptors.size() > 1
                       ? tr("Please enter the resource descriptors and select the Function Card numbers.")
                       : tr("Please enter the resource descriptor and select the Function Card number.");
        }
    }
    return QString();
}

// The how-to-connect box and its three ways.
struct zr6200fp_fcSelect::HowToConnect
{
    explicit HowToConnect(const QString &title, const QString &model)
        : box(QMessageBox::Question, title, tr("How to connect to %1 Function Card?").arg(model), QMessageBox::NoButton,
              nullptr)
        , autoFind(box.addButton(tr("Auto Find"), QMessageBox::ActionRole))
        , demo(box.addButton(tr("Run In Demo Mode"), QMessageBox::ActionRole))
        , address(box.addButton(tr("Enter Address"), QMessageBox::ActionRole))
    {
        box.setWindowIcon(zr6200fp_icons::windowIcon());
        box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(autoFind);
    }

    QMessageBox box;
    QPushButton *const autoFind;
    QPushButton *const demo;
    QPushButton *const address;
};

int zr6200fp_fcSelect::selectAndConnect()
{
    zr6200fp_fcEnterAddress addresses(card);
    HowToConnect how(selectionTitle(), zr6200fp_cardModels::modelText(card->modelCode));
    for (;;) {
        switch (choose(how, addresses)) {
        case Choice::AskAgain:
            continue;
        case Choice::DemoMode:
            return enterDemoMode(*this);
        case Choice::GiveUp:
            return 0;
        case Choice::Connect:
            break;
        }
        const ViStatus status = openSession();
        if (status == VI_SUCCESS)
            return 1;
        if (!tryAgainAfter(status))
            return 0;
    }
}

zr6200fp_fcSelect::Choice zr6200fp_fcSelect::choose(HowToConnect &how, zr6200fp_fcEnterAddress &addresses)
{
    how.box.exec();
    const QAbstractButton *const choice = how.box.clickedButton();
    if (choice == how.demo)
        return Choice::DemoMode;
    if (choice == how.address)
        return takeAddresses(*this, addresses) ? Choice::Connect : Choice::AskAgain;
    if (choice != how.autoFind)
        return Choice::GiveUp;

    const int found = searchCards();
    if (found == 1) {
        fcCount = 1;
        return Choice::Connect;
    }
    if (found > 1)
        return exec() == QDialog::Accepted ? Choice::Connect : Choice::GiveUp;
    const int answer = zr6200fp_questionBox::ask(
        this, selectionTitle(),
        tr("No %1 Function Card found on your system.").arg(zr6200fp_cardModels::modelText(card->modelCode)),
        {tr("Try Again"), tr("Run In Demo Mode"), tr("Cancel")});
    if (answer == 0)
        return Choice::AskAgain;
    return answer == 1 ? Choice::DemoMode : Choice::GiveUp;
}

ViStatus zr6200fp_fcSelect::openSession()
{
    const QByteArray name = descriptor.toLatin1();
    const ViStatus status = card->init(name.constData(), fcNumbers.data(), 1, 1, &session);
    // A warning status counts as a failure, but the driver opened a
    // session for it: do not leave it behind.
    if (status != VI_SUCCESS && session != 0) {
        card->close(session);
        session = 0;
    }
    return status;
}

bool zr6200fp_fcSelect::tryAgainAfter(ViStatus status)
{
    const QString text = fcCount > 1 ? tr("At least one selected %1 Function Card is unavailable.\nError: %2")
                                     : tr("Selected %1 Function Card is unavailable.\nError: %2");
    return zr6200fp_questionBox::ask(
               this, selectionTitle(),
               text.arg(zr6200fp_cardModels::modelText(card->modelCode), failureText(card, status)),
               {tr("Try Again"), tr("Cancel")}) == 0;
}

#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

#include "driver/zr6200fp_genFC.h"
#include "visa.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class zr6200fp_fcEnterAddress;
class zr6200fp_search;
struct resourceEntry;

// The card selection dialog. It also carries the connection flow and the
// tree of the VISA search: the window base creates it, runs
// selectAndConnect() and reads the result fields.
class zr6200fp_fcSelect : public QDialog
{
    Q_OBJECT
public:
    // multiSelect non-zero lets the user choose several cards at once.
    zr6200fp_fcSelect(zr6200fp_genFC *card, int multiSelect);

    // Rebuilds the tree from a VISA search; returns the number of
    // selectable cards. With at least one, descriptor and fcNumbers[0] hold
    // the last selectable card put into the tree.
    virtual int searchCards();

    // Asks how to reach the card and opens a driver session on it. 1: a
    // session is open or demo mode was chosen; 0: the user gave up.
    int selectAndConnect();

    // Written to the debug output when OK or a double click finds no
    // selectable card.
    static const char *hintText();

public slots:
    void dblClick(QTreeWidgetItem *item);
    void okPressed();

    // Empty when the typed addresses may be used, else the warning to show.
    static QString addressProblem(const QStringList &descriptors, const QList<int> &numbers);

private:
    QString selectionTitle() const;

    // One answer of the how-to-connect box, followed to its end: a card (or
    // cards) to connect to, the box again, demo mode, or giving up.
    enum class Choice { Connect, AskAgain, DemoMode, GiveUp };
    struct HowToConnect;
    Choice choose(HowToConnect &how, zr6200fp_fcEnterAddress &addresses);
    // Opens the driver session on the chosen card; no session is left open
    // when it fails.
    ViStatus openSession();
    // The unavailable-card question after a failed open: true for Try Again.
    bool tryAgainAfter(ViStatus status);

    struct TreeFill;
    // Shows the "Searching..." box until the search has ended and its list
    // is in the tree; returns the selectable cards.
    int showSearch(zr6200fp_search &search);
    // Makes the items of the next entries, outside the tree; false once
    // all are made or the cap was reached (after its question).
    bool fillSlice(TreeFill &fill);
    // One entry's carrier item with its card items, under top; counts the
    // selectable cards on from selectable and stops at the cap.
    QTreeWidgetItem *addCarrier(QTreeWidgetItem *top, const resourceEntry &entry, int &selectable);

    QPushButton *const okButton;
    QTreeWidget *const tree;
    QPushButton *const cancelButton;

public:
    QList<QTreeWidgetItem *> selectedItems;
    // Descriptors of the chosen cards joined by ",".
    QString descriptor;
    std::array<quint16, zr6200fp_genFC::kMaxCards> fcNumbers{};
    int demoMode = 0;
    int fcCount = 0;
    ViSession session = 0;
    zr6200fp_genFC *const card;
};

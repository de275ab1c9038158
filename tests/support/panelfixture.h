#pragma once
// Opening the card's window on a simulated bench, choosing combo items as
// a user does, and reading the driver calls back from the bench's log.

#include <QAbstractItemView>
#include <QComboBox>
#include <QMap>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

#include "simbench.h"
#include "testsupport.h"
#include "zr7480_fc.h"
#include "zr7480fp_App.h"

namespace zrtest {

// One carrier in a VXI slot with one 7480 in slot 2.
inline const char *oneCardBench()
{
    return R"({"resources": [
        {"descriptor": "VXI0::7::INSTR", "interface": "VXI", "slot": 5,
         "carrier": {"modelId": 1987, "slots": [0,
            {"id": "0x7480", "serial": "0x00001a2b", "option": "BC", "revision": "1.0.2.0"}]}}]})";
}

// Builds the window through Auto Find (or demo mode) on the given bench.
inline std::unique_ptr<zr7480fp_App> openWindow(zr7480_fc &card, bool demo = false, const char *bench = oneCardBench())
{
    simbench_reset();
    if (simbench_loadJson(bench) != 0)
        qFatal("bench: %s", simbench_lastError());
    ModalAnswerer answers;
    answers.click(demo ? QStringLiteral("Run In Demo Mode") : QStringLiteral("Auto Find"));
    auto window = std::make_unique<zr7480fp_App>(&card);
    if (answers.pending() != 0 || !answers.unexpected().isEmpty())
        qFatal("connection flow did not go as expected");
    simbench_clearLog();
    return window;
}

// The user opens the popup and clicks the item: one activated(int).
inline bool chooseItem(QComboBox *combo, int index)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    if (!QTest::qWaitForWindowExposed(view->window()))
        return false;
    const QModelIndex item = view->model()->index(index, combo->modelColumn());
    view->scrollTo(item);
    const QPoint centre = view->visualRect(item).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    return QTest::qWaitFor([view] { return !view->window()->isVisible(); }) && combo->currentIndex() == index;
}

// Calls of one operation in the log, as name=value maps, oldest first.
inline QList<QMap<QString, QString>> calls(const QString &operation)
{
    static const QRegularExpression line(QStringLiteral("^(\\w+)\\((.*)\\) -> (-?\\d+)$"));
    static const QRegularExpression arg(QStringLiteral("(\\w+)=([^,]*)"));
    QList<QMap<QString, QString>> result;
    for (const QString &text : benchLog()) {
        const auto m = line.match(text);
        if (!m.hasMatch() || m.captured(1) != operation)
            continue;
        QMap<QString, QString> args;
        for (auto it = arg.globalMatch(m.captured(2)); it.hasNext();) {
            const auto a = it.next();
            args.insert(a.captured(1), a.captured(2).trimmed());
        }
        args.insert(QStringLiteral("status"), m.captured(3));
        result << args;
    }
    return result;
}

} // namespace zrtest

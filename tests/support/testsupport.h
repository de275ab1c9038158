#pragma once

#include <QList>
#include <QMap>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "testcore.h"

class QPushButton;
class QTreeWidget;
class QWidget;

namespace zrtest {

// Answers modal dialogs as they appear, in the order the answers were
// queued. A modal dialog nobody queued an answer for, or an answer whose
// button is missing, is closed at once and recorded as a problem, so the
// test fails in its cleanup instead of hanging. Progress dialogs are left
// alone.
class ModalAnswerer final : public QObject
{
public:
    ModalAnswerer();
    ~ModalAnswerer() override;

    // Run before on the dialog (typing, choosing), then click the visible
    // button whose text, without '&', is text.
    ModalAnswerer &click(const QString &text, const std::function<void(QWidget *)> &before = {});
    // Run action on the dialog; it must close the dialog.
    ModalAnswerer &act(std::function<void(QWidget *)> action);

    // Texts (or titles) of the dialogs answered or closed, oldest first.
    QStringList seen;
    // Unexpected dialogs and missing buttons; answers never used.
    QStringList problems() const;
    void reset();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void handle(QWidget *dialog);

    QList<std::function<void(QWidget *)>> actions;
    QStringList unexpected;
};

// The test object's base: its cleanup fails a test that left a dialog
// unanswered, an answer unused or a window open.
class Case : public QObject
{
    Q_OBJECT
protected:
    ModalAnswerer answers;

private slots:
    void cleanup();
};

// Sets (or, with nullopt, unsets) an environment variable for its lifetime.
class EnvGuard
{
public:
    EnvGuard(const char *name, const std::optional<QByteArray> &value);
    ~EnvGuard();
    EnvGuard(const EnvGuard &) = delete;
    EnvGuard &operator=(const EnvGuard &) = delete;

private:
    QByteArray name;
    std::optional<QByteArray> saved;
};

// Code that ends the process runs as a scenario in a copy of the test
// executable. Empty when it ended with exitCode and printed a line
// containing line (standard output or error), else what went wrong.
using Scenario = std::function<int()>;
void registerScenario(const char *name, Scenario scenario);
QString expectExit(const char *scenario, int exitCode, const QString &line, const QProcessEnvironment &extra = {});

// The simulated bench: a fresh one from JSON (false, with a warning, when
// it does not load), its call log, and the calls of one operation as
// argument maps (with "status").
bool loadBench(const QByteArray &json);
QStringList benchLog();
QList<QMap<QString, QString>> calls(const QString &operation);

// One line per item, indented by level: texts, then "[n, descriptor]" for
// items that carry card data, then "-" for disabled and "+" for expanded.
QStringList treeDump(const QTreeWidget *tree);

// The push button of that text among w's children; null when there is none.
QPushButton *button(const QWidget *w, const QString &text);

// The texts of the labels beside the captions in the form of the group box
// titled box; "(none)" for a caption without such a row.
QStringList formFields(const QWidget *dialog, const QString &box, const QStringList &captions);

void prepareEnvironment();
bool isChild();
int runChild();

} // namespace zrtest

#define ZR_SCENARIO(name)                                                                                              \
    static int zrScenario_##name();                                                                                    \
    static const bool zrScenarioRegistered_##name = (zrtest::registerScenario(#name, zrScenario_##name), true);        \
    static int zrScenario_##name()

// A widget suite; in a child process it runs the scenario instead.
#define ZR_TEST_MAIN(TestClass)                                                                                        \
    ZR_TEST_MAIN_OF(QApplication, TestClass, zrtest::prepareEnvironment(),                                             \
                    if (zrtest::isChild()) return zrtest::runChild())

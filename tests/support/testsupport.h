#pragma once

#include <QList>
#include <QPointer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

class QApplication;

namespace zrtest {

// Answers modal dialogs as they appear, in the order the answers were queued.
// A dialog is recognised by its Show event, so a box shown again after being
// answered (the same object) is answered again. Progress dialogs are left
// alone. A modal dialog nobody queued an answer for is rejected after
// unexpectedTimeoutMs and recorded, so a wrong flow fails instead of hanging.
class ModalAnswerer : public QObject
{
    Q_OBJECT
public:
    struct Seen
    {
        QString className;
        QString title;
        QString text;        // QMessageBox text, empty for other dialogs
        QStringList buttons; // button texts without '&', in child order
        int icon = 0;        // QMessageBox::Icon, 0 for other dialogs
    };

    explicit ModalAnswerer(QObject *parent = nullptr);
    ~ModalAnswerer() override;

    // Click the button whose text, without '&', equals text.
    ModalAnswerer &click(const QString &text);
    // Run action on the dialog; it must close the dialog itself.
    ModalAnswerer &act(std::function<void(QWidget *)> action);

    int pending() const { return m_actions.size(); }
    const QList<Seen> &seen() const { return m_seen; }
    const QStringList &unexpected() const { return m_unexpected; }

    int unexpectedTimeoutMs = 3000;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void handle(QPointer<QWidget> w);

    QList<std::function<void(QWidget *)>> m_actions;
    QList<Seen> m_seen;
    QStringList m_unexpected;
};

// Clicks the button with the given text (without '&') among w's children.
bool clickButton(QWidget *w, const QString &text);

// Visible top-level widgets, for asserting in cleanup() that none is left.
QList<QWidget *> visibleTopLevels();

// Child-process scenarios: code that ends the process (exit codes, fatal
// diagnostics) runs in a copy of the test executable.
using Scenario = std::function<int()>;
void registerScenario(const QString &name, Scenario scenario);
struct ChildResult
{
    bool finished = false;
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QString out;
    QString err;
};
ChildResult runScenario(const QString &name, const QProcessEnvironment &extra = {}, int timeoutMs = 60000);

// Environment for headless, side-effect-free runs: offscreen platform, a
// private runtime folder and a private ALLUSERSPROFILE, unless already set.
void prepareEnvironment();
bool isChild();
int runChild();

// The simulated bench's call log.
QStringList benchLog();

} // namespace zrtest

#define ZR_SCENARIO(name)                                                                                              \
    static int zrScenario_##name();                                                                                    \
    static const bool zrScenarioRegistered_##name =                                                                    \
        (zrtest::registerScenario(QStringLiteral(#name), zrScenario_##name), true);                                    \
    static int zrScenario_##name()

#define ZR_TEST_MAIN(TestClass)                                                                                        \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        zrtest::prepareEnvironment();                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        if (zrtest::isChild())                                                                                         \
            return zrtest::runChild();                                                                                 \
        TestClass tc;                                                                                                  \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }

#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QMap>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "simbench.h"

namespace zrtest {

namespace {
QString plain(QString s)
{
    return s.remove(QLatin1Char('&'));
}

QMap<QString, Scenario> &scenarios()
{
    static QMap<QString, Scenario> map;
    return map;
}

const char *const kScenarioVar = "ZR_TEST_SCENARIO";
} // namespace

ModalAnswerer::ModalAnswerer(QObject *parent)
    : QObject(parent)
{
    qApp->installEventFilter(this);
}

ModalAnswerer::~ModalAnswerer()
{
    qApp->removeEventFilter(this);
}

ModalAnswerer &ModalAnswerer::click(const QString &text)
{
    return act([text](QWidget *w) {
        if (!clickButton(w, text)) {
            std::fprintf(stderr, "ModalAnswerer: no button \"%s\", rejecting the dialog\n", qPrintable(text));
            if (auto *d = qobject_cast<QDialog *>(w))
                d->reject();
            else
                w->close();
        }
    });
}

ModalAnswerer &ModalAnswerer::act(std::function<void(QWidget *)> action)
{
    m_actions.append(std::move(action));
    return *this;
}

bool ModalAnswerer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        if (w->isWindow() && w->isModal() && !qobject_cast<QProgressDialog *>(w)) {
            // Act once the dialog's own event loop runs.
            QPointer<QWidget> guard(w);
            QTimer::singleShot(0, this, [this, guard] { handle(guard); });
        }
    }
    return QObject::eventFilter(watched, event);
}

void ModalAnswerer::handle(QPointer<QWidget> w)
{
    if (!w || !w->isVisible())
        return;
    Seen s;
    s.className = QString::fromLatin1(w->metaObject()->className());
    s.title = w->windowTitle();
    if (auto *box = qobject_cast<QMessageBox *>(w)) {
        s.text = box->text();
        s.icon = box->icon();
    }
    const auto buttons = w->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : buttons)
        s.buttons << plain(b->text());
    m_seen.append(s);

    if (m_actions.isEmpty()) {
        QTimer::singleShot(unexpectedTimeoutMs, this, [this, w, s] {
            if (!w || !w->isVisible())
                return;
            m_unexpected << s.title + QLatin1String(": ") + s.text;
            std::fprintf(stderr, "ModalAnswerer: unexpected dialog \"%s\" closed\n", qPrintable(s.title));
            if (auto *d = qobject_cast<QDialog *>(w.data()))
                d->reject();
            else
                w->close();
        });
        return;
    }
    auto action = m_actions.takeFirst();
    action(w);
}

bool clickButton(QWidget *w, const QString &text)
{
    const auto buttons = w->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : buttons) {
        if (plain(b->text()) == plain(text) && b->isVisible()) {
            b->click();
            return true;
        }
    }
    return false;
}

QList<QWidget *> visibleTopLevels()
{
    QList<QWidget *> result;
    const auto tops = QApplication::topLevelWidgets();
    for (QWidget *w : tops) {
        if (w->isVisible())
            result << w;
    }
    return result;
}

void registerScenario(const QString &name, Scenario scenario)
{
    scenarios().insert(name, std::move(scenario));
}

ChildResult runScenario(const QString &name, const QProcessEnvironment &extra, int timeoutMs)
{
    ChildResult result;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kScenarioVar), name);
    const QStringList keys = extra.keys();
    for (const QString &k : keys)
        env.insert(k, extra.value(k));
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), {});
    result.finished = p.waitForFinished(timeoutMs);
    if (!result.finished) {
        p.kill();
        p.waitForFinished();
    }
    result.exitCode = p.exitCode();
    result.exitStatus = p.exitStatus();
    result.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(p.readAllStandardError());
    return result;
}

void prepareEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Folders that live as long as the process (and its children, which
    // inherit the variables).
    static std::vector<std::unique_ptr<QTemporaryDir>> keep;
    auto makeDir = [] {
        keep.push_back(std::make_unique<QTemporaryDir>());
        return keep.back()->path();
    };
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString path = makeDir();
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path));
    }
    if (qEnvironmentVariableIsEmpty("ALLUSERSPROFILE"))
        qputenv("ALLUSERSPROFILE", QFile::encodeName(makeDir()));
}

bool isChild()
{
    return !qEnvironmentVariableIsEmpty(kScenarioVar);
}

int runChild()
{
    const QString name = qEnvironmentVariable(kScenarioVar);
    const auto it = scenarios().constFind(name);
    if (it == scenarios().constEnd()) {
        std::fprintf(stderr, "no scenario named %s\n", qPrintable(name));
        return 99;
    }
    return (*it)();
}

QStringList benchLog()
{
    QStringList lines;
    const size_t n = simbench_logCount();
    for (size_t i = 0; i < n; ++i) {
        const size_t len = simbench_logLine(i, nullptr, 0);
        QByteArray buf(int(len) + 1, '\0');
        simbench_logLine(i, buf.data(), size_t(buf.size()));
        lines << QString::fromLatin1(buf.constData());
    }
    return lines;
}

} // namespace zrtest

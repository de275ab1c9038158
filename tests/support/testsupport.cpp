#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <vector>

#include "simbench.h"

namespace zrtest {

namespace {

QString plain(QString s)
{
    return s.remove(QLatin1Char('&'));
}

void dismiss(QWidget *w)
{
    if (auto *dialog = qobject_cast<QDialog *>(w))
        dialog->reject();
    w->close();
}

QMap<QString, Scenario> &scenarios()
{
    static QMap<QString, Scenario> map;
    return map;
}

const char *const kScenarioVar = "ZR_TEST_SCENARIO";

} // namespace

ModalAnswerer::ModalAnswerer()
{
    qApp->installEventFilter(this);
}

ModalAnswerer::~ModalAnswerer()
{
    qApp->removeEventFilter(this);
}

ModalAnswerer &ModalAnswerer::click(const QString &text, const std::function<void(QWidget *)> &before)
{
    return act([this, text, before](QWidget *w) {
        if (before)
            before(w);
        const auto buttons = w->findChildren<QAbstractButton *>();
        for (QAbstractButton *b : buttons) {
            if (plain(b->text()) == text && b->isVisible()) {
                b->click();
                return;
            }
        }
        unexpected << QStringLiteral("no button \"%1\" in \"%2\"").arg(text, w->windowTitle());
        dismiss(w);
    });
}

ModalAnswerer &ModalAnswerer::act(std::function<void(QWidget *)> action)
{
    actions.append(std::move(action));
    return *this;
}

QStringList ModalAnswerer::problems() const
{
    QStringList all = unexpected;
    if (!actions.isEmpty())
        all << QStringLiteral("%1 answer(s) never used").arg(actions.size());
    return all;
}

void ModalAnswerer::reset()
{
    actions.clear();
    unexpected.clear();
    seen.clear();
}

bool ModalAnswerer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        if (w->isWindow() && w->isModal() && !qobject_cast<QProgressDialog *>(w)) {
            // Act once the dialog's own event loop runs.
            QPointer<QWidget> guard(w);
            QTimer::singleShot(0, this, [this, guard] {
                if (guard && guard->isVisible())
                    handle(guard);
            });
        }
    }
    return false;
}

void ModalAnswerer::handle(QWidget *dialog)
{
    const auto *box = qobject_cast<QMessageBox *>(dialog);
    seen << (box && !box->text().isEmpty() ? box->text() : dialog->windowTitle());
    if (actions.isEmpty()) {
        unexpected << QStringLiteral("unexpected dialog \"%1\"").arg(seen.last());
        dismiss(dialog);
        return;
    }
    actions.takeFirst()(dialog);
}

void Case::cleanup()
{
    const QStringList problems = answers.problems();
    answers.reset();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1String("; "))));
    QStringList open;
    const auto tops = QApplication::topLevelWidgets();
    for (QWidget *w : tops) {
        if (w->isVisible())
            open << w->windowTitle() + QLatin1Char(' ') + QLatin1String(w->metaObject()->className());
    }
    QVERIFY2(open.isEmpty(), qPrintable(QLatin1String("left open: ") + open.join(QLatin1String(", "))));
}

EnvGuard::EnvGuard(const char *name, const std::optional<QByteArray> &value)
    : name(name)
{
    if (qEnvironmentVariableIsSet(name))
        saved = qgetenv(name);
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

EnvGuard::~EnvGuard()
{
    if (saved)
        qputenv(name.constData(), *saved);
    else
        qunsetenv(name.constData());
}

void registerScenario(const char *name, Scenario scenario)
{
    scenarios().insert(QString::fromLatin1(name), std::move(scenario));
}

QString expectExit(const char *scenario, int exitCode, const QString &line, const QProcessEnvironment &extra)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kScenarioVar), QString::fromLatin1(scenario));
    // On Windows Qt sends messages to the debugger output unless told so.
    env.insert(QStringLiteral("QT_FORCE_STDERR_LOGGING"), QStringLiteral("1"));
    const QStringList keys = extra.keys();
    for (const QString &key : keys)
        env.insert(key, extra.value(key));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {});
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        return QStringLiteral("%1 did not end").arg(QLatin1String(scenario));
    }
    // Printed lines end in "\r\n" on Windows.
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput() + child.readAllStandardError())
                               .replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != exitCode)
        return QStringLiteral("%1 ended with %2, expected %3:\n%4")
            .arg(QLatin1String(scenario), QString::number(child.exitCode()), QString::number(exitCode), output);
    if (!output.contains(line))
        return QStringLiteral("%1 did not print \"%2\":\n%3").arg(QLatin1String(scenario), line, output);
    return QString();
}

bool loadBench(const QByteArray &json)
{
    simbench_reset();
    if (simbench_loadJson(json.constData()) != 0) {
        qWarning("bench: %s", simbench_lastError());
        return false;
    }
    simbench_clearLog();
    return true;
}

QStringList benchLog()
{
    QStringList lines;
    const size_t n = simbench_logCount();
    for (size_t i = 0; i < n; ++i) {
        QByteArray buffer(int(simbench_logLine(i, nullptr, 0)) + 1, '\0');
        simbench_logLine(i, buffer.data(), size_t(buffer.size()));
        lines << QString::fromLatin1(buffer.constData());
    }
    return lines;
}

QList<QMap<QString, QString>> calls(const QString &operation)
{
    static const QRegularExpression line(QStringLiteral("^(\\w+)\\((.*)\\) -> (-?\\d+)$"));
    static const QRegularExpression argument(QStringLiteral("(\\w+)=(\"[^\"]*\"|[^,]*)"));
    QList<QMap<QString, QString>> result;
    const QStringList log = benchLog();
    for (const QString &text : log) {
        const auto m = line.match(text);
        if (!m.hasMatch() || m.captured(1) != operation)
            continue;
        QMap<QString, QString> args{{QStringLiteral("status"), m.captured(3)}};
        for (auto it = argument.globalMatch(m.captured(2)); it.hasNext();) {
            const auto a = it.next();
            args.insert(a.captured(1), a.captured(2).trimmed());
        }
        result << args;
    }
    return result;
}

QStringList treeDump(const QTreeWidget *tree)
{
    QStringList lines;
    std::function<void(const QTreeWidgetItem *, int)> walk = [&](const QTreeWidgetItem *item, int level) {
        QString line = QString(level * 2, QLatin1Char(' ')) + item->text(0);
        if (!item->text(1).isEmpty())
            line += QLatin1String(" | ") + item->text(1);
        if (item->data(0, Qt::StatusTipRole).isValid())
            line += QStringLiteral(" [%1, %2]")
                        .arg(item->data(0, Qt::StatusTipRole).toString(), item->data(1, Qt::StatusTipRole).toString());
        if (!item->flags().testFlag(Qt::ItemIsEnabled))
            line += QLatin1String(" -");
        if (item->isExpanded())
            line += QLatin1String(" +");
        lines << line;
        for (int i = 0; i < item->childCount(); ++i)
            walk(item->child(i), level + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk(tree->topLevelItem(i), 0);
    return lines;
}

QPushButton *button(const QWidget *w, const QString &text)
{
    const auto buttons = w->findChildren<QPushButton *>();
    const auto found = std::find_if(buttons.cbegin(), buttons.cend(), [&](auto *b) { return b->text() == text; });
    return found == buttons.cend() ? nullptr : *found;
}

QStringList formFields(const QWidget *dialog, const QString &box, const QStringList &captions)
{
    QStringList fields(captions.size(), QStringLiteral("(none)"));
    const auto boxes = dialog->findChildren<QGroupBox *>();
    for (const QGroupBox *group : boxes) {
        const auto *form = qobject_cast<QFormLayout *>(group->layout());
        for (int row = 0; form && group->title() == box && row < form->rowCount(); ++row) {
            const auto *label = qobject_cast<QLabel *>(form->itemAt(row, QFormLayout::LabelRole)->widget());
            if (const qsizetype i = label ? captions.indexOf(label->text()) : -1; i >= 0)
                fields[i] = qobject_cast<QLabel *>(form->itemAt(row, QFormLayout::FieldRole)->widget())->text();
        }
    }
    return fields;
}

void prepareEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Private folders that live as long as the process and its children,
    // which inherit the variables.
    static std::vector<std::unique_ptr<QTemporaryDir>> keep;
    const auto makeDir = [] {
        keep.push_back(std::make_unique<QTemporaryDir>());
        return QFile::encodeName(keep.back()->path());
    };
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray path = makeDir();
        QFile::setPermissions(QFile::decodeName(path),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", path);
    }
    // The address file goes to a private folder also where the variable is
    // set (always on Windows); children keep their parent's.
    if (!isChild())
        qputenv("ALLUSERSPROFILE", makeDir());
}

bool isChild()
{
    return !qEnvironmentVariableIsEmpty(kScenarioVar);
}

int runChild()
{
    const auto it = scenarios().constFind(qEnvironmentVariable(kScenarioVar));
    if (it == scenarios().constEnd()) {
        std::fprintf(stderr, "no such scenario\n");
        return 99;
    }
    return (*it)();
}

} // namespace zrtest

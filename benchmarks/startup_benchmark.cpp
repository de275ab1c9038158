// Start-up figures of the panel, in one run of the real start-up sequence:
// time from process start to the how-to-connect box, from the choice of
// demo mode to the main window on screen, peak resident memory, and the CPU
// time used while the window sits idle.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QSplashScreen>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

#include "app/zr6200fp_app.h"
#include "zr7480fp/zr7480_fc.h"
#include "zr7480fp/zr7480fp_App.h"
#include "zr7480fp/zr7480fp_splash.h"

namespace {

// Milliseconds since the kernel started this process.
double msSinceProcessStart()
{
    FILE *stat = std::fopen("/proc/self/stat", "r");
    unsigned long long startTicks = 0;
    if (stat) {
        // Field 22 is the start time; the command name (field 2) has no blanks here.
        if (std::fscanf(stat,
                        "%*d %*s %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
                        &startTicks) != 1)
            startTicks = 0;
        std::fclose(stat);
    }
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const double nowMs = boot.tv_sec * 1e3 + boot.tv_nsec / 1e6;
    return nowMs - startTicks * 1e3 / double(sysconf(_SC_CLK_TCK));
}

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Answers the how-to-connect box with demo mode as soon as it is shown.
class BoxAnswerer : public QObject
{
public:
    double boxShownMs = -1;
    QElapsedTimer sinceChoice;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (box && event->type() == QEvent::Show && boxShownMs < 0) {
            boxShownMs = msSinceProcessStart();
            QTimer::singleShot(0, box, [this, box] {
                for (QAbstractButton *button : box->buttons()) {
                    if (button->text().remove(QLatin1Char('&')) == QLatin1String("Run In Demo Mode")) {
                        sinceChoice.start();
                        button->click();
                    }
                }
            });
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    const double idleSeconds =
        qEnvironmentVariableIsSet("ZR_BENCH_IDLE_S") ? qEnvironmentVariable("ZR_BENCH_IDLE_S").toDouble() : 5.0;
    QApplication app(argc, argv);
    BoxAnswerer answerer;
    app.installEventFilter(&answerer);

    zr7480_fc card;
    auto splash = std::make_unique<QSplashScreen>(zr7480fp_splash::picture(card));
    splash->show();

    zr7480fp_App window(&card);
    centerWidget(&window);
    window.show();
    splash->finish(&window);
    QApplication::processEvents();
    const double windowMs = answerer.sinceChoice.nsecsElapsed() / 1e6;
    app.removeEventFilter(&answerer);
    const long rssKb = peakRssKb();

    const double cpuBefore = cpuMs();
    // exit(), not quit(): quit() would close the window and raise its exit question.
    QTimer::singleShot(int(idleSeconds * 1000), &app, [] { QCoreApplication::exit(0); });
    QApplication::exec();
    const double idleCpu = cpuMs() - cpuBefore;

    std::printf("platform                               %s\n", qPrintable(QApplication::platformName()));
    std::printf("process start -> how-to-connect box    %8.1f ms\n", answerer.boxShownMs);
    std::printf("demo mode chosen -> main window shown  %8.1f ms\n", windowMs);
    std::printf("peak resident memory after start-up    %8.1f MiB\n", rssKb / 1024.0);
    std::printf("CPU time while idle for %.0f s           %8.1f ms\n", idleSeconds, idleCpu);
    return 0;
}

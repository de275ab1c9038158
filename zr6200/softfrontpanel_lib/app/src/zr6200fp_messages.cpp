#include "app/zr6200fp_messages.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>

QString modelLabel;

namespace {
QString title(const char *suffix)
{
    return QLatin1String("Tervix ") + modelLabel + QLatin1String(suffix);
}
} // namespace

void infoMessage(const QString &text)
{
    QMessageBox::information(QApplication::activeWindow(), title(" SFP Info message"), text);
}

void warningMessage(const QString &text)
{
    QMessageBox::warning(QApplication::activeWindow(), title(" SFP Warning message"), text);
}

void errorMessage(const QString &text)
{
    const auto answer =
        QMessageBox::critical(QApplication::activeWindow(), title(" SFP Error message"),
                              text + QLatin1String("\nDo you want to exit?"), QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        std::exit(0);
}

bool exitQuestion()
{
    return QMessageBox::question(QApplication::activeWindow(), title(" SFP"),
                                 QObject::tr("Do you really want to exit?")) == QMessageBox::Yes;
}

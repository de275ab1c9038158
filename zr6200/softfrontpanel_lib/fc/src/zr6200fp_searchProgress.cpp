#include "zr6200fp_searchProgress.h"

#include <QCloseEvent>

zr6200fp_searchProgress::zr6200fp_searchProgress(const QString &title, const QFuture<void> &queries, QWidget *parent)
    : QProgressDialog(parent)
{
    setWindowTitle(title);
    setLabelText(tr("Searching..."));
    setCancelButton(nullptr);
    connect(&watcher, &QFutureWatcher<void>::finished, this, &QProgressDialog::reset);
    connect(&watcher, &QFutureWatcher<void>::progressRangeChanged, this, &QProgressDialog::setRange);
    connect(&watcher, &QFutureWatcher<void>::progressValueChanged, this, &QProgressDialog::setValue);
    watcher.setFuture(queries);
}

void zr6200fp_searchProgress::reject() {}

void zr6200fp_searchProgress::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

#include "zr6200fp_searchProgress.h"

#include <QCloseEvent>

zr6200fp_searchProgress::zr6200fp_searchProgress(const QString &title, const QFuture<void> &search, QWidget *parent)
    : QProgressDialog(parent)
{
    setWindowTitle(title);
    setLabelText(tr("Searching..."));
    setCancelButton(nullptr);
    // The last step would close the box before the tree is filled.
    setAutoReset(false);
    connect(&watcher, &QFutureWatcher<void>::finished, this, &zr6200fp_searchProgress::searched);
    connect(&watcher, &QFutureWatcher<void>::progressRangeChanged, this, &QProgressDialog::setRange);
    connect(&watcher, &QFutureWatcher<void>::progressValueChanged, this, &QProgressDialog::setValue);
    watcher.setFuture(search);
}

void zr6200fp_searchProgress::reject() {}

void zr6200fp_searchProgress::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

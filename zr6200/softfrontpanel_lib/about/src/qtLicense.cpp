#include "qtLicense.h"

#include <QFile>
#include <QFont>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QTextStream>
#include <QVBoxLayout>

qtLicense::qtLicense(QWidget *parent)
    : QDialog(parent)
{
    setModal(true);
    setWindowTitle(tr("Qt LGPL License"));
    auto *mainLayout = new QVBoxLayout(this);

    auto *text = new QTextEdit(this);
    text->setReadOnly(true);
    text->setAccessibleName(windowTitle());
    text->setWordWrapMode(QTextOption::NoWrap);
    text->setMinimumSize(650, 500);
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    text->setFont(font);
    QFile file(QStringLiteral(":/qt-lgpl-license.txt"));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream stream(&file);
        text->setPlainText(stream.readAll());
    }
    mainLayout->addWidget(text);

    auto *buttonRow = new QHBoxLayout;
    mainLayout->addLayout(buttonRow);
    buttonRow->addStretch();
    auto *okButton = new QPushButton(tr("Ok"), this);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    buttonRow->addWidget(okButton);
}

#include "about/zr6200fp_About.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "about/clickableLabel.h"
#include "qtLicense.h"
#include "resources/zr6200fp_icons.h"

namespace {
// The hardware rows' captions, shown through tr() and recognised the same
// way when a row is added by its caption.
const char *const kDeviceModelCaption = QT_TRANSLATE_NOOP("zr6200fp_About", "Device Model:");
const char *const kRevisionCaption = QT_TRANSLATE_NOOP("zr6200fp_About", "Revision:");
const char *const kSerialNumberCaption = QT_TRANSLATE_NOOP("zr6200fp_About", "Serial Number:");

QFormLayout *addFormBox(const QString &title, int lh, QVBoxLayout *column, QWidget *parent)
{
    auto *box = new QGroupBox(title, parent);
    auto *form = new QFormLayout(box);
    form->setHorizontalSpacing(lh);
    form->setContentsMargins(lh, lh, lh, lh);
    column->addWidget(box);
    return form;
}

QPushButton *addRowButton(const QString &text, QHBoxLayout *row, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    row->addWidget(button);
    return button;
}
} // namespace

zr6200fp_About::zr6200fp_About(const char *panelRevision, const char *driverRevision, const char *model,
                               const char *description, QWidget *parent, const char *commonLibRevision)
    : QDialog(parent)
{
    const QString modelText = QString::fromLatin1(model);
    const int lh = fontMetrics().height();

    setWindowTitle(tr("About Tervix %1 Soft Front Panel").arg(modelText));
    setMinimumSize(380, 300);
    resize(380, 300);
    auto *mainLayout = new QVBoxLayout(this);
    mainLayout->setSizeConstraint(QLayout::SetFixedSize);
    addHeading(mainLayout, modelText, QString::fromLatin1(description));
    mainLayout->addSpacing(lh);

    auto *row = new QHBoxLayout;
    mainLayout->addLayout(row);
    addPicture(row, lh);
    auto *column = new QVBoxLayout;
    row->addLayout(column);
    addQtBox(column, lh);
    addSoftwareBox(column, lh, driverRevision, panelRevision, commonLibRevision);
    addHardwareBox(column, lh);
    addButtons(column);
}

void zr6200fp_About::addHeading(QVBoxLayout *mainLayout, const QString &modelText, const QString &description)
{
    auto *heading = new QLabel(
        tr("<font size='5' bold>Tervix %1 VXIplug&play Driver<br>Soft Front Panel Application</font>").arg(modelText),
        this);
    heading->setAlignment(Qt::AlignCenter);
    mainLayout->addWidget(heading);
    auto *descriptionLabel = new QLabel(description, this);
    descriptionLabel->setAlignment(Qt::AlignCenter);
    mainLayout->addWidget(descriptionLabel);
}

void zr6200fp_About::addPicture(QHBoxLayout *row, int lh)
{
    auto *pictureLabel = new QLabel(this);
    const QImage image(QStringLiteral(":/about.png"));
    pictureLabel->setPixmap(
        zr6200fp_icons::picture(image.copy(pictureRect(image.size(), lh)), qApp->devicePixelRatio()));
    row->addWidget(pictureLabel);
}

void zr6200fp_About::addQtBox(QVBoxLayout *column, int lh)
{
    QFormLayout *qtForm = addFormBox(tr("Qt Library"), lh, column, this);
    auto *licenseLink = new clickableLabel(QStringLiteral("LGPL"), this);
    connect(licenseLink, &clickableLabel::clicked, this, &zr6200fp_About::showLicense);
    qtForm->addRow(tr("Used under License:"), licenseLink);
    auto *versionLink = new clickableLabel(QString::fromLatin1(qVersion()), this);
    connect(versionLink, &clickableLabel::clicked, qApp, &QApplication::aboutQt);
    qtForm->addRow(tr("Version (sources not modified):"), versionLink);
}

void zr6200fp_About::addSoftwareBox(QVBoxLayout *column, int lh, const char *driverRevision, const char *panelRevision,
                                    const char *commonLibRevision)
{
    softwareForm = addFormBox(tr("Software Revisions"), lh, column, this);
    commonLibValue = new QLabel(this);
    driverValue = new QLabel(QString::fromLatin1(driverRevision), this);
    panelValue = new QLabel(QString::fromLatin1(panelRevision), this);
    if (commonLibRevision) {
        commonLibValue->setText(QString::fromLatin1(commonLibRevision));
        softwareForm->addRow(tr("Tervix Common Library:"), commonLibValue);
    } else {
        commonLibValue->hide();
    }
    softwareForm->addRow(tr("Instrument Driver:"), driverValue);
    softwareForm->addRow(tr("Soft Front Panel:"), panelValue);
}

void zr6200fp_About::addHardwareBox(QVBoxLayout *column, int lh)
{
    // Its rows come with the first card's page (addHardwareInfo).
    hardwareForm = addFormBox(tr("Hardware Information"), lh, column, this);
    deviceModelValue = new QLabel(this);
    revisionValue = new QLabel(this);
    serialNumberValue = new QLabel(this);
    deviceModelValue->hide();
    revisionValue->hide();
    serialNumberValue->hide();
}

void zr6200fp_About::addButtons(QVBoxLayout *column)
{
    auto *buttonRow = new QHBoxLayout;
    column->addLayout(buttonRow);
    prevButton = addRowButton(tr("< Previous"), buttonRow, this);
    nextButton = addRowButton(tr("Next >"), buttonRow, this);
    QPushButton *okButton = addRowButton(tr("OK"), buttonRow, this);
    prevButton->hide();
    nextButton->hide();
    prevButton->setEnabled(false);
    connect(nextButton, &QPushButton::clicked, this, &zr6200fp_About::next);
    connect(prevButton, &QPushButton::clicked, this, &zr6200fp_About::prev);
    connect(okButton, &QPushButton::clicked, this, &QWidget::hide);
    // The dialog opens on OK; Tab goes on to the links above.
    okButton->setFocus();
}

QRect zr6200fp_About::pictureRect(QSize imageSize, int lineHeight)
{
    int h = 28 * lineHeight;
    if (imageSize.height() < h)
        h = imageSize.height();
    if (h < 8 * lineHeight)
        h = 8 * lineHeight;
    return QRect(0, imageSize.height() - h, imageSize.width(), h).intersected(QRect(QPoint(0, 0), imageSize));
}

void zr6200fp_About::addHardwareInfo(const QString &serial, const QString &revision, const QString &model,
                                     QString driverRevision, QString panelRevision)
{
    if (pages.isEmpty()) {
        hardwareForm->addRow(tr(kDeviceModelCaption), deviceModelValue);
        hardwareForm->addRow(tr(kRevisionCaption), revisionValue);
        hardwareForm->addRow(tr(kSerialNumberCaption), serialNumberValue);
        deviceModelValue->show();
        revisionValue->show();
        serialNumberValue->show();
        deviceModelValue->setText(model);
        revisionValue->setText(revision);
        serialNumberValue->setText(serial);
    } else if (pages.size() == 1) {
        nextButton->show();
        prevButton->show();
    }
    lastPage.driverRevision = driverRevision.isEmpty() ? driverValue->text() : driverRevision;
    lastPage.panelRevision = panelRevision.isEmpty() ? panelValue->text() : panelRevision;
    lastPage.deviceModel = model;
    lastPage.revision = revision;
    lastPage.serialNumber = serial;
    pages.append(lastPage);
}

void zr6200fp_About::addInfoRow(QString caption, QString value, bool hardware)
{
    auto *valueLabel = new QLabel(value, this);
    if (!hardware) {
        softwareForm->addRow(caption, valueLabel);
        return;
    }
    hardwareForm->addRow(caption, valueLabel);
    if (caption == tr(kSerialNumberCaption))
        lastPage.serialNumber = value;
    else if (caption == tr(kRevisionCaption))
        lastPage.revision = value;
    else if (caption == tr(kDeviceModelCaption))
        lastPage.deviceModel = value;
}

void zr6200fp_About::addDeviceModelRow(QString value)
{
    addInfoRow(tr(kDeviceModelCaption), value);
}

void zr6200fp_About::addRevisionRow(QString value)
{
    addInfoRow(tr(kRevisionCaption), value);
}

void zr6200fp_About::addSerialNumberRow(QString value)
{
    addInfoRow(tr(kSerialNumberCaption), value);
}

void zr6200fp_About::next()
{
    // The buttons stop at the ends; a call from code must too.
    if (currentPage + 1 >= pages.size())
        return;
    ++currentPage;
    if (pages.size() == currentPage + 1)
        nextButton->setEnabled(false);
    prevButton->setEnabled(true);
    showPage(pages.at(currentPage));
}

void zr6200fp_About::prev()
{
    if (currentPage <= 0)
        return;
    --currentPage;
    if (currentPage == 0)
        prevButton->setEnabled(false);
    nextButton->setEnabled(true);
    showPage(pages.at(currentPage));
}

void zr6200fp_About::showPage(const hwInfoPage &page)
{
    if (!page.driverRevision.isEmpty())
        driverValue->setText(page.driverRevision);
    if (!page.panelRevision.isEmpty())
        panelValue->setText(page.panelRevision);
    deviceModelValue->setText(page.deviceModel);
    revisionValue->setText(page.revision);
    serialNumberValue->setText(page.serialNumber);
}

void zr6200fp_About::showLicense()
{
    qtLicense viewer(this);
    viewer.exec();
}

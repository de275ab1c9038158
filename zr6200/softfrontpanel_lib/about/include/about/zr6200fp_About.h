#pragma once

#include <QDialog>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

class QFormLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

// One card's page of the About dialog's hardware information.
struct hwInfoPage
{
    QString driverRevision;
    QString panelRevision;
    QString deviceModel;
    QString revision;
    QString serialNumber;
};

// The About box: Qt version and licence, software revisions, and one page of
// hardware information per connected card. Modeless; OK only hides it, so
// the shown page is kept between showings.
class zr6200fp_About : public QDialog
{
    Q_OBJECT
public:
    // Texts are 8-bit, taken as Latin-1. A null commonLibRevision leaves out
    // the common library's row.
    zr6200fp_About(const char *panelRevision, const char *driverRevision, const char *model, const char *description,
                   QWidget *parent, const char *commonLibRevision);

    // Empty driver and panel revisions keep the ones given at construction.
    void addHardwareInfo(const QString &serial, const QString &revision, const QString &model,
                         QString driverRevision = QString(), QString panelRevision = QString());

    void addInfoRow(QString caption, QString value, bool hardware = true);
    void addDeviceModelRow(QString value);
    void addRevisionRow(QString value);
    void addSerialNumberRow(QString value);
    QString lastDeviceModel() const { return lastPage.deviceModel; }
    QString lastRevision() const { return lastPage.revision; }

    // Part of the About picture shown beside the boxes: its lowest rows,
    // between 8 and 28 lines of text tall, clipped to the image.
    static QRect pictureRect(QSize imageSize, int lineHeight);

public slots:
    void next();
    void prev();

private slots:
    void showLicense();

private:
    // The dialog's parts, top to bottom; lh is the font's line height.
    void addHeading(QVBoxLayout *mainLayout, const QString &modelText, const QString &description);
    void addPicture(QHBoxLayout *row, int lh);
    void addQtBox(QVBoxLayout *column, int lh);
    void addSoftwareBox(QVBoxLayout *column, int lh, const char *driverRevision, const char *panelRevision,
                        const char *commonLibRevision);
    void addHardwareBox(QVBoxLayout *column, int lh);
    void addButtons(QVBoxLayout *column);
    void showPage(const hwInfoPage &page);

    int currentPage = 0;
    QFormLayout *softwareForm = nullptr;
    QFormLayout *hardwareForm = nullptr;
    QLabel *commonLibValue = nullptr;
    QLabel *driverValue = nullptr;
    QLabel *panelValue = nullptr;
    QLabel *deviceModelValue = nullptr;
    QLabel *revisionValue = nullptr;
    QLabel *serialNumberValue = nullptr;
    QPushButton *nextButton = nullptr;
    QPushButton *prevButton = nullptr;
    hwInfoPage lastPage;
    QList<hwInfoPage> pages;
};

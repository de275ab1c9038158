#pragma once

#include <QString>
#include <QWidget>

class QCloseEvent;
class QHBoxLayout;
class QIcon;
class QLabel;
class QLayout;
class QPushButton;
class QVBoxLayout;
class zr6200fp_About;
class zr6200fp_led;

// The main window frame shared by the family's soft front panels: a dark
// header, an empty content area on the left for the instrument's panel and a
// column of status and command controls on the right. It sets the look of
// the whole application and asks before the program exits.
class zr6200fp_app : public QWidget
{
    Q_OBJECT
public:
    zr6200fp_app();

    // Before the frame is complete the layout goes on the frame itself,
    // afterwards on the content area.
    void setPanelLayout(QLayout *layout);
    void setHeaderText(QString text);
    // Only switches to the LXI logo; false leaves the logo as it is.
    void showLxiLogo(bool lxi);
    // The "Active" lamp is lit only in real mode.
    void setDemoMode(bool demo);
    // An empty help keeps the previous What's This text.
    void setModuleLabel(QString text, QString help);
    void setFcLabel(QString text, QString help);
    void showAutoscale(bool show);
    void showIdentify(bool show);

    // Folder of the maker's settings under the all-users profile.
    static QString settingsFolder();

signals:
    void autoscaleToggled(bool status);
    void identToggled(bool status);
    void startSingle();
    void breakSingle();
    void startCont();
    void stopCont();
    void resetPressed();

public slots:
    void enterWIT();
    // Releases whichever acquisition button is pressed in, then enables both.
    void userBreak();
    // Called once an acquisition has really ended.
    void enableStart();

private slots:
    void autoscaleToggledSlot(bool status);
    void identToggledSlot(bool status);
    void startToggledSlot(bool status);
    void startContToggledSlot(bool status);

protected:
    void closeEvent(QCloseEvent *event) override;

    QPushButton *helpButton = nullptr;
    zr6200fp_About *aboutDialog = nullptr;
    QPushButton *aboutButton = nullptr;
    QWidget *contentWidget = nullptr;
    bool frameBuilt = false;
    QLabel *headerLabel = nullptr;
    QLabel *busLogoLabel = nullptr;
    QLabel *moduleLabel = nullptr;
    QLabel *fcLabel = nullptr;
    zr6200fp_led *activeLed = nullptr;
    QPushButton *closeButton = nullptr;
    QLabel *autoscaleLabel = nullptr;
    QPushButton *autoscaleButton = nullptr;
    QVBoxLayout *buttonColumn = nullptr;
    QLabel *identLabel = nullptr;
    QPushButton *identButton = nullptr;
    QPushButton *resetButton = nullptr;
    QPushButton *startButton = nullptr;
    QPushButton *startContButton = nullptr;

private:
    // The parts of the frame, top to bottom, right column last.
    void addHeader(QHBoxLayout *headerRow);
    void addLampBox(int spacing);
    // A caption over a checkable ON/OFF button, both hidden until the
    // instrument shows them; objects named name + "Label" and name + "Button".
    QPushButton *addToggle(const QString &name, const QString &caption, bool on, const QString &help,
                           void (zr6200fp_app::*slot)(bool), QLabel **label);
    QPushButton *addIconButton(const QString &name, const QIcon &icon, QSize iconSize);
    void addAcquisitionButtons();
    void addCommandButtons();
};

// Places w at the centre of the first screen's available area; the result
// is taken as screen coordinates, not offset by the area's own corner.
void centerWidget(QWidget *w);

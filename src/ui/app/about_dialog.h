#pragma once
// The about box: the product picture and name, the version, the user data
// folder (with a context menu entry that copies its path), and links to the
// web site and the support e-mail.
//
// The caller fills the plain fields and shows the box modally; the texts are
// set from the fields each time it is shown.
#include "ui/base/core_names.h"
#include <QDialog>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QUrl;

namespace kovara::ui {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // Inputs, set before showing.
    QString fileVersion;
    // With its trailing separator, as the program holds folders.
    QString userDataFolder;
    // Opens a clicked link's address; QDesktopServices::openUrl by default.
    std::function<void(const QUrl&)> openUrl;

    // Sets the version, e-mail link and data folder texts from the fields
    // (done on every showing).
    void updateTexts();
    // Puts userDataFolder on the clipboard as plain text.
    void copyUserDataPath();

    // The address the e-mail link opens.
    const QString& emailLink() const { return emailLink_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* productImage_;
    QLabel* productNameLabel_;
    QLabel* versionLabel_;
    QLabel* dataPathLabel_;
    QLabel* websiteLabel_;
    QLabel* emailLabel_;
    QPushButton* okButton_;
    QMenu* dataPathMenu_;
    QAction* copyDataPathAction_;


    QString emailLink_;
};

} // namespace kovara::ui

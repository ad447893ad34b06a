#pragma once
// The about box: the product picture and name, the version, the user data
// folder (with a context menu entry that copies its path), and links to the
// web site and the support e-mail.
//
// The caller fills the plain fields and shows the box modally; the texts are
// set from the fields each time it is shown.
#include <QDialog>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QUrl;

namespace kovara::ui {

class TFormAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TFormAboutBox(QWidget* parent = nullptr);

    // Inputs, set before showing.
    QString FileVersion;
    // With its trailing separator, as the program holds folders.
    QString UserDataFolder;
    // Opens a clicked link's address; QDesktopServices::openUrl by default.
    std::function<void(const QUrl&)> OpenUrl;

    // Sets the version, e-mail link and data folder texts from the fields
    // (done on every showing).
    void UpdateTexts();
    // Puts UserDataFolder on the clipboard as plain text.
    void CopyUserDataPathtoClipboard1Click();

    // The address the e-mail link opens.
    const QString& EmailLink() const { return emailLink_; }

    QLabel* ImageProduct;
    QLabel* LabelProductName;
    QLabel* LabelVersion;
    QLabel* LabelDataPath;
    QLabel* LabelWebsite;
    QLabel* LabelEmail;
    QPushButton* ButtonOK;
    QMenu* PopupMenuDataPath;
    QAction* CopyUserDataPathtoClipboard1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString emailLink_;
};

} // namespace kovara::ui

#pragma once
// The window shown while the deploy copies the game: the file being copied and how far its copy
// has gone. It has no cancel: the deploy runs to its end.
#include <QDialog>
#include <QElapsedTimer>

#include <cstdint>

class QLabel;
class QProgressBar;
class TFileCopyNew;

class TDeployProgressForm : public QDialog {
    Q_OBJECT
public:
    TDeployProgressForm(QWidget* parent, const QString& caption);

    QLabel* FileLabel;
    QProgressBar* FileProgress;

    // Shows the window and paints it before the copy blocks the program.
    void ShowNow();
    // The copier's progress event. Runs twice per block, so the window is repainted a few times
    // a second at most.
    void CopyProgress(TFileCopyNew& Sender, std::uint16_t read, std::uint16_t written);

public Q_SLOTS:
    void reject() override; // Escape does not stop the deploy

private:
    void repaintNow();

    QElapsedTimer sinceRepaint_;
};

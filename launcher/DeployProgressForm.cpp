#include "DeployProgressForm.h"

#include "Text.h"
#include "dircpy.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int LabelWidth = 440;
constexpr qint64 RepaintMilliseconds = 50;

} // namespace

TDeployProgressForm::TDeployProgressForm(QWidget* parent, const QString& caption)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName("DeployProgressForm");
    setWindowTitle(caption);
    // Modal, so the launcher takes no clicks while its deploy runs.
    setWindowModality(Qt::ApplicationModal);

    FileLabel = new QLabel(this);
    FileLabel->setObjectName("FileLabel");
    FileLabel->setFixedWidth(LabelWidth);
    FileProgress = new QProgressBar(this);
    FileProgress->setObjectName("FileProgress");
    FileProgress->setRange(0, 100);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FileLabel);
    layout->addWidget(FileProgress);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TDeployProgressForm::ShowNow()
{
    show();
    repaintNow();
}

void TDeployProgressForm::CopyProgress(TFileCopyNew& Sender, std::uint16_t, std::uint16_t written)
{
    if (sinceRepaint_.isValid() && sinceRepaint_.elapsed() < RepaintMilliseconds)
        return;
    QString file = Ui(Sender.FileInProgress());
    if (file.startsWith("./"))
        file.remove(0, 2); // the deploy copies from the current folder
    FileLabel->setText(FileLabel->fontMetrics().elidedText(file, Qt::ElideMiddle, LabelWidth));
    // The last blocks of a file may count past 100 before its final report.
    FileProgress->setValue(std::min<int>(written, 100));
    repaintNow();
}

void TDeployProgressForm::reject() {}

void TDeployProgressForm::repaintNow()
{
    sinceRepaint_.start();
    QCoreApplication::processEvents();
}

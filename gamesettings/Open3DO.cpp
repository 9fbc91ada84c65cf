#include "Open3DO.h"

#include "CopyIntoGameQuestion.h"
#include "FileFilter.h"
#include "GameSettings.h"
#include "Text.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int ClientWidth = 347;
constexpr int ClientHeight = 66;

} // namespace

TObjectDialog::TObjectDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName("ObjectDialog");
    setWindowTitle("3D object selector");
    setFixedSize(ClientWidth, ClientHeight);
    move(299, 265);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    Label1 = new QLabel("Filename:", this);
    Label1->setObjectName("Label1");
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setGeometry(4, 2, 200, 16);

    FilenameLabel = new QLabel(this);
    FilenameLabel->setObjectName("FilenameLabel");
    FilenameLabel->setTextFormat(Qt::PlainText);
    FilenameLabel->setGeometry(4, 21, 338, 16);

    const struct {
        QPushButton** button;
        const char* name;
        const char* text;
        void (TObjectDialog::*click)();
    } buttons[] = {
        {&OKButton, "OKButton", "OK", &TObjectDialog::OKButtonClick},
        {&ChangeButton, "ChangeButton", "Change", &TObjectDialog::ChangeButtonClick},
        {&ClearButton, "ClearButton", "Clear", &TObjectDialog::ClearButtonClick},
        {&CancelButton, "CancelButton", "Cancel", &TObjectDialog::CancelButtonClick},
    };
    int left = 10;
    for (const auto& b : buttons) {
        auto* button = new QPushButton(b.text, this);
        button->setObjectName(b.name);
        button->setGeometry(left, 44, 75, 20);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, b.click);
        *b.button = button;
        left += 83;
    }
    setTabOrder(ChangeButton, ClearButton);
    setTabOrder(ClearButton, OKButton);
    setTabOrder(OKButton, CancelButton);

    OpenDialog.filter = QtFilter("3D file object (*.3do)|*.3do");
    OpenDialog.folder = ".";
}

void TObjectDialog::showEvent(QShowEvent* event)
{
    FormActivate();
    QDialog::showEvent(event);
}

void TObjectDialog::FormActivate() { FilenameLabel->setText(Ui(FileName)); }

void TObjectDialog::ChangeButtonClick()
{
    FileDialogRequest request = OpenDialog;
    request.folder = QString::fromStdString(GameFolderPath.string());
    const QString chosen = ChooseOpenFile(this, request);
    if (chosen.isEmpty())
        return;
    const std::string relative = NameInGame(this, chosen, GameFolderPath, RelativeToGameFolder);
    if (!relative.empty())
        FilenameLabel->setText(Ui(relative));
}

void TObjectDialog::ClearButtonClick() { FilenameLabel->clear(); }

void TObjectDialog::OKButtonClick()
{
    FileName = Native(FilenameLabel->text());
    accept();
}

void TObjectDialog::CancelButtonClick() { reject(); }

#include "ImportImagesDialog.h"

#include "Dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int PreviewSide = 96; // pixels a picture's preview takes in the list
constexpr int PaletteCell = 12; // pixels a palette colour takes

// The palette as 16 rows of 16 colours, colour 0 (the see-through key) crossed out.
QPixmap palettePicture(const PalettePlanes& palette)
{
    QImage image(16 * PaletteCell, 16 * PaletteCell, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int c = y / PaletteCell * 16 + x / PaletteCell;
            const bool cross = c == 0 && (x == y || x == PaletteCell - 1 - y);
            image.setPixel(x, y, cross ? qRgb(255, 255, 255) : qRgb(palette.red[c], palette.green[c], palette.blue[c]));
        }
    return QPixmap::fromImage(image);
}

// The pictures as a grid of thumbnails, two rows of five at least, to look at, not to choose.
void showAsThumbnails(QListWidget& pictures)
{
    pictures.setViewMode(QListView::IconMode);
    pictures.setIconSize({PreviewSide, PreviewSide});
    pictures.setGridSize({PreviewSide + 40, PreviewSide + 40});
    pictures.setResizeMode(QListView::Adjust);
    pictures.setMovement(QListView::Static);
    pictures.setWordWrap(true);
    pictures.setSelectionMode(QAbstractItemView::NoSelection);
    pictures.setMinimumSize(5 * (PreviewSide + 40) + 24, 2 * (PreviewSide + 40) + 8);
}

} // namespace

std::function<std::optional<ImportChoice>(const ImportChoice& proposed)>& ImportChoiceHook()
{
    static std::function<std::optional<ImportChoice>(const ImportChoice&)> hook;
    return hook;
}

std::optional<ImportChoice> AskImportChoice(QWidget* parent, const ImportChoice& proposed,
                                            const ImportDialogTexts& texts, const ImportFolderCheck& check,
                                            const ImportPreviewMaker& preview)
{
    if (ImportChoiceHook())
        return ImportChoiceHook()(proposed);
    ImportImagesDialog dialog(parent, proposed, texts, check, preview);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Choice();
}

ImportImagesDialog::ImportImagesDialog(QWidget* parent, const ImportChoice& proposed, const ImportDialogTexts& texts,
                                       const ImportFolderCheck& check, ImportPreviewMaker preview)
    : QDialog(parent)
    , folder_(new QLineEdit(proposed.folder, this))
    , stillTextures_(new QCheckBox(texts.stillTextures, this))
    , fit_(new QButtonGroup(this))
    , dither_(new QCheckBox(texts.dither, this))
    , paletteNote_(new QLabel(this))
    , palette_(new QLabel(this))
    , pictures_(new QListWidget(this))
    , caption_(texts.caption)
    , check_(check)
    , preview_(std::move(preview))
{
    setWindowTitle(texts.caption);
    folder_->setObjectName("ImportFolder");
    folder_->setMinimumWidth(360);
    auto* choose = new QPushButton(texts.chooseFolder, this);
    connect(choose, &QPushButton::clicked, this, &ImportImagesDialog::chooseFolder);
    stillTextures_->setChecked(proposed.stillTextures);

    QGroupBox* fitBox = fitChoice(texts, proposed.fit);
    dither_->setChecked(proposed.dither);
    connect(fit_, &QButtonGroup::idClicked, this, &ImportImagesDialog::showPreview);
    connect(dither_, &QCheckBox::toggled, this, &ImportImagesDialog::showPreview);

    paletteNote_->setWordWrap(true);
    showAsThumbnails(*pictures_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(texts.cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(choose);
    auto* shown = new QHBoxLayout;
    auto* paletteColumn = new QVBoxLayout;
    paletteColumn->addWidget(palette_);
    paletteColumn->addStretch(1);
    shown->addLayout(paletteColumn);
    shown->addWidget(pictures_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(texts.folderLabel, this));
    layout->addLayout(folderRow);
    layout->addWidget(stillTextures_);
    layout->addWidget(fitBox);
    layout->addWidget(dither_);
    layout->addWidget(paletteNote_);
    layout->addLayout(shown, 1);
    layout->addWidget(buttons);
    showPreview();
}

QGroupBox* ImportImagesDialog::fitChoice(const ImportDialogTexts& texts, TextureFit proposed)
{
    auto* box = new QGroupBox(texts.fitLabel, this);
    auto* row = new QHBoxLayout(box);
    const std::pair<TextureFit, QString> fits[] = {
        {TextureFit::Crop, texts.fitCrop}, {TextureFit::Pad, texts.fitPad}, {TextureFit::Stretch, texts.fitStretch}};
    for (const auto& [fit, text] : fits) {
        auto* button = new QRadioButton(text, box);
        button->setChecked(fit == proposed);
        fit_->addButton(button, static_cast<int>(fit));
        row->addWidget(button);
    }
    return box;
}

ImportChoice ImportImagesDialog::Choice() const
{
    // "\" separates folders too, as in the bank's own names.
    const QString typed = QString(folder_->text().trimmed()).replace('\\', '/');
    return {QDir::cleanPath(QDir(check_.gameFolder).absoluteFilePath(typed)), stillTextures_->isChecked(),
            static_cast<TextureFit>(fit_->checkedId()), dither_->isChecked()};
}

void ImportImagesDialog::accept()
{
    const QString problem = check_.problem ? check_.problem(Choice().folder) : QString();
    if (!problem.isEmpty()) {
        ShowMessage(this, problem); // the dialog stays, the folder can be typed again
        activateWindow();
        folder_->setFocus();
        folder_->selectAll();
        return;
    }
    QDialog::accept();
}

void ImportImagesDialog::chooseFolder()
{
    const QString chosen = ChooseFolder(this, {caption_, {}, folder_->text(), {}, {}});
    if (!chosen.isEmpty())
        folder_->setText(chosen);
}

void ImportImagesDialog::showPreview()
{
    if (!preview_)
        return;
    const ImportPreview shown = preview_(static_cast<TextureFit>(fit_->checkedId()), dither_->isChecked());
    paletteNote_->setText(shown.paletteNote);
    palette_->setPixmap(palettePicture(shown.palette));
    pictures_->clear();
    for (const ImportPreviewPicture& picture : shown.pictures) {
        auto* item = new QListWidgetItem(picture.name, pictures_);
        if (!picture.texture.isNull()) {
            item->setIcon(QIcon(QPixmap::fromImage(picture.texture.scaled(PreviewSide, PreviewSide))));
        } else {
            item->setForeground(Qt::red);
            item->setToolTip(picture.refusal);
        }
    }
}

#include "MaterialsDialog.h"

#include "Text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { Name, Colour, TextureFile, Faces, Skin, Columns };

QIcon swatch(std::optional<std::uint32_t> colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour ? QColor(QRgb(*colour)) : QColor(Qt::transparent));
    return QIcon(pixmap);
}

} // namespace

std::function<std::optional<MaterialsAnswer>(const ModelMaterials& materials)>& MaterialsHook()
{
    static std::function<std::optional<MaterialsAnswer>(const ModelMaterials&)> hook;
    return hook;
}

std::optional<MaterialsAnswer> AskMaterialSkins(QWidget* parent, const ModelMaterials& materials,
                                                const std::vector<MaterialTexture>& textures, bool canBring,
                                                const MaterialsDialogTexts& texts)
{
    if (MaterialsHook())
        return MaterialsHook()(materials);
    MaterialsDialog dialog(parent, materials, textures, canBring, texts);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Answer();
}

MaterialsDialog::MaterialsDialog(QWidget* parent, const ModelMaterials& materials,
                                 const std::vector<MaterialTexture>& textures, bool canBring,
                                 const MaterialsDialogTexts& texts)
    : QDialog(parent)
{
    for (const MaterialTexture& texture : textures)
        textures_.push_back(texture.number);
    setWindowTitle(texts.caption);
    auto* table = new QTableWidget(static_cast<int>(materials.materials.size()), Columns, this);
    table->setHorizontalHeaderLabels({texts.material, texts.colour, texts.textureFile, texts.faces, texts.skin});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    for (int row = 0; row < table->rowCount(); ++row) {
        const ModelMaterial& m = materials.materials[static_cast<std::size_t>(row)];
        table->setItem(row, Name, new QTableWidgetItem(QString::fromStdString(m.name)));
        auto* colour = new QTableWidgetItem(swatch(m.colour), m.colour ? QString("#%1").arg(*m.colour, 6, 16, QChar('0')) : "");
        table->setItem(row, Colour, colour);
        table->setItem(row, TextureFile, new QTableWidgetItem(QString::fromStdString(m.textureFile)));
        table->setItem(row, Faces, new QTableWidgetItem(QString::number(m.faces)));
        auto* choice = new QComboBox(table);
        choice->addItem(texts.flatColour.arg(m.flatColour));
        choice->setIconSize({32, 32});
        for (const MaterialTexture& texture : textures)
            choice->addItem(QIcon(QPixmap::fromImage(texture.thumbnail)), texts.texture.arg(texture.number));
        const auto at = m.texture ? std::find(textures_.begin(), textures_.end(), *m.texture) : textures_.end();
        choice->setCurrentIndex(at == textures_.end() ? 0 : static_cast<int>(at - textures_.begin()) + 1);
        table->setCellWidget(row, Skin, choice);
        choices_.push_back(choice);
        table->setRowHidden(row, m.faces == 0); // a reader's default material no face uses
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setMinimumWidth(std::min(900, table->horizontalHeader()->length() + 40));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(texts.cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (canBring) {
        QPushButton* bring = buttons->addButton(texts.bringPictures, QDialogButtonBox::ActionRole);
        connect(bring, &QPushButton::clicked, this, [this] {
            bring_ = true;
            accept();
        });
    }
    auto* intro = new QLabel(texts.intro, this);
    intro->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(table, 1);
    layout->addWidget(buttons);
}

MaterialsAnswer MaterialsDialog::Answer() const
{
    MaterialsAnswer answer;
    answer.bringPictures = bring_;
    for (const QComboBox* choice : choices_) {
        const int index = choice->currentIndex();
        answer.skins.push_back(index <= 0 ? std::nullopt : std::optional<int>(textures_[static_cast<std::size_t>(index - 1)]));
    }
    return answer;
}

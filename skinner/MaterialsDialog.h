#pragma once
// After Import model: the model's materials in a table (name, colour, texture file, faces), each
// given a bank texture or its flat colour, proposed as the importer matched them. When the bank
// lacks texture pictures the model names, a button brings them in (through the picture import)
// before the choice. Tests answer it through the hook.
#include "ModelMaterials.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QComboBox;

struct MaterialsDialogTexts {
    QString caption, intro, material, colour, textureFile, faces, skin, flatColour, texture, bringPictures, cancel;
};

// A texture of the bank as the table offers it: its number and a thumbnail of its first image.
struct MaterialTexture {
    int number = 0;
    QImage thumbnail;
};

struct MaterialsAnswer {
    std::vector<std::optional<int>> skins; // for each material: a texture, or none for its flat colour
    bool bringPictures = false;            // the user asked for the model's pictures in the bank first
};

// Answers instead of the dialog when set.
std::function<std::optional<MaterialsAnswer>(const ModelMaterials& materials)>& MaterialsHook();

// The user's choice; nothing when the user cancels (the importer's own choice stands).
// `textures` lists the bank's textures; `canBring`, whether some texture picture is missing.
std::optional<MaterialsAnswer> AskMaterialSkins(QWidget* parent, const ModelMaterials& materials,
                                                const std::vector<MaterialTexture>& textures, bool canBring,
                                                const MaterialsDialogTexts& texts);

class MaterialsDialog : public QDialog {
public:
    MaterialsDialog(QWidget* parent, const ModelMaterials& materials, const std::vector<MaterialTexture>& textures,
                    bool canBring, const MaterialsDialogTexts& texts);
    MaterialsAnswer Answer() const;

private:
    std::vector<QComboBox*> choices_;
    std::vector<int> textures_; // the numbers offered, after the flat colour
    bool bring_ = false;
};

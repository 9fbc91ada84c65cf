#pragma once
// The bank's textures as a list beside the slot grid: one row per defined texture, by number,
// showing its number, its run of slots and its image of the moment. Each row plays its texture
// on a copy of it, so the bank's own textures step only as the editor steps them.
#include "AnimTexture.h"
#include "EditorBank.h"

#include <QAbstractListModel>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class TextureListModel : public QAbstractListModel {
public:
    // `runText` says a texture's run ("%1: slots %2 to %3" and the like) for the row's text.
    TextureListModel(const EditorBank& bank, std::function<QString(std::int32_t, const AnimTexture&)> runText,
                     QObject* parent = nullptr);

    // Rows again from the bank's textures; the ones unchanged keep playing where they were.
    void Refresh();
    // The thumbnails' side in window pixels and the screen's pixels per window pixel.
    void SetThumbnail(int side, double scale);

    std::int32_t TextureAt(int row) const { return rows_[static_cast<std::size_t>(row)].texture; }
    int RowOf(std::int32_t texture) const; // -1 when the texture is not listed
    // A texture of more than one image plays in this row.
    bool Animated(int row) const;
    // One animation step of the rows `first` to `last`, which the list shows.
    void Step(int first, int last);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    struct Row {
        std::int32_t texture;
        AnimTexture playing;
    };
    const EditorBank& bank_;
    std::function<QString(std::int32_t, const AnimTexture&)> runText_;
    std::vector<Row> rows_;
    int side_ = 64;
    double scale_ = 1;
};

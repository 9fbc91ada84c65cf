#include "TextureListModel.h"

#include "K3xDisplay.h"

#include <QPixmap>

#include <cmath>

TextureListModel::TextureListModel(const EditorBank& bank,
                                   std::function<QString(std::int32_t, const AnimTexture&)> runText, QObject* parent)
    : QAbstractListModel(parent), bank_(bank), runText_(std::move(runText))
{
    Refresh();
}

void TextureListModel::Refresh()
{
    std::vector<Row> rows;
    for (std::int32_t t = 0; t < EditorBank::Capacity; ++t) {
        const AnimTexture& texture = bank_.textures[static_cast<std::size_t>(t)];
        if (texture.first == -1)
            continue;
        const int was = RowOf(t);
        const bool same = was >= 0 && rows_[static_cast<std::size_t>(was)].playing.first == texture.first &&
                          rows_[static_cast<std::size_t>(was)].playing.last == texture.last;
        rows.push_back({t, same ? rows_[static_cast<std::size_t>(was)].playing : AnimTexture{texture.first, texture.last, texture.first}});
    }
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void TextureListModel::SetThumbnail(int side, double scale)
{
    side_ = side;
    scale_ = scale;
    if (!rows_.empty())
        Q_EMIT dataChanged(index(0), index(rowCount() - 1), {Qt::DecorationRole});
}

int TextureListModel::RowOf(std::int32_t texture) const
{
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].texture == texture)
            return static_cast<int>(i);
    return -1;
}

bool TextureListModel::Animated(int row) const
{
    const AnimTexture& playing = rows_[static_cast<std::size_t>(row)].playing;
    return playing.first != playing.last;
}

void TextureListModel::Step(int first, int last)
{
    for (int row = std::max(0, first); row <= last && row < rowCount(); ++row) {
        if (!Animated(row))
            continue;
        StepTexture(rows_[static_cast<std::size_t>(row)].playing);
        Q_EMIT dataChanged(index(row), index(row), {Qt::DecorationRole});
    }
}

int TextureListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant TextureListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return runText_(row.texture, bank_.textures[static_cast<std::size_t>(row.texture)]);
    case Qt::DecorationRole: {
        const std::int32_t shown = row.playing.current;
        const int pixels = static_cast<int>(std::lround(side_ * scale_));
        QImage thumbnail(pixels, pixels, QImage::Format_RGB32);
        thumbnail.fill(Qt::black);
        if (shown >= 0 && shown < EditorBank::Capacity) {
            if (const DisplayImage* image = bank_.slots[static_cast<std::size_t>(shown)].image.get())
                thumbnail = TextureThumbnail(image->pixels.data(), bank_.bankPalette, pixels, scale_);
        }
        thumbnail.setDevicePixelRatio(scale_);
        return QPixmap::fromImage(thumbnail);
    }
    default:
        return {};
    }
}

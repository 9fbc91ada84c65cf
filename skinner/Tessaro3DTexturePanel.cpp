// TForm1's texture panel: the texture bar and view, the colour grid and the animation of
// textures.
#include "Tessaro3DUnit.h"

#include "Renderer.h"
#include "Tessaro3DFormHelpers.h"

void TForm1::TextureBarChange()
{
    setMaximumQuietly(TextureBar, context->bank.lastTexture);
    currentTexture = TextureBar->value();
    ShowFaceInfo();
}

void TForm1::Timer1Timer() { AnimateTextures(*context); }

void TForm1::TestPalette(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int X, int Y)
{
    if (onlyButton(buttons, modifiers, Qt::LeftButton)) {
        const int colour = GridColourAt(X - ColorPaletteView->x(), Y - ColorPaletteView->y());
        if (colour >= 0)
            currentColour = static_cast<std::uint8_t>(colour);
    }
    ShowFaceInfo();
}

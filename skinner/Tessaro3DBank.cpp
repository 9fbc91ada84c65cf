// TForm1's texture bank: the bank load flow, the views taking its palettes, and what the user is
// told of a bank without textures or of faces naming textures the bank lacks.
#include "Tessaro3DUnit.h"

#include "BankImageProblem.h"
#include "Errors.h"
#include "K3xDisplay.h"
#include "Renderer.h"
#include "Tessaro3DEntries.h"
#include "Tessaro3DFormHelpers.h"
#include "Text.h"

#include <QFileInfo>

namespace {

using Flow = TForm1::FileFlow;
const Flow BankOpenFlow{TForm1::DialogKind::Open, Tessaro3DText("BankFilter"), "(*.def *.DEF)", "def",
                        Tessaro3DText("OpenBankTitle"), "Bank"};

// An image that keeps a bank from loading, told in the user's language.
QString bankImageMessage(const ImageProblem& problem)
{
    const bool wrongSize = problem.fault == ImageFault::WrongSize;
    const QString entry = EntryOrEnglish(wrongSize ? Tessaro3DText("BankImageWrongSize") : Tessaro3DText("BankImageUnreadable"));
    return entry + " (" + Ui(problem.name) + (wrongSize ? ", " + Ui(problem.detail) : "") + ")";
}

} // namespace

void TForm1::LoadPigmentaClick()
{
    const QString path = chooseFile(BankOpenFlow);
    if (!path.isEmpty())
        loadBankFile(path);
    turnViewBack();
    ShowFaceInfo();
}

void TForm1::loadBankFile(const QString& path)
{
    RenderBankLoaded loaded;
    const bool done = runFileAction(path, [&](const std::string& file) {
        const HourglassCursor hourglass; // the first load of a bank builds its blend tables
        try {
            loaded = LoadRenderBank(file, *context);
        } catch (const BankImageError& error) {
            throw OrmelError(Native(bankImageMessage(error.problem)));
        }
    });
    if (done) {
        bankPath_ = QFileInfo(path).absoluteFilePath();
        bankLoaded(loaded);
    }
}

void TForm1::bankLoaded(const RenderBankLoaded& loaded)
{
    haveBank_ = true;
    highlightWhite = loaded.highlight.white;
    highlightBlack = loaded.highlight.black;
    setMaximumQuietly(TextureBar, context->bank.lastTexture);
    currentTexture = TextureBar->value();
    SkinnerBank& bank = context->bank;
    SetColourTable(TextureViewImage, bank.bankPalette);
    SetColourTable(PaletteViewImage, bank.colourPalette);
    ApplyBankPalette(bank.bankPalette, context->screen);
    fillTexturePanel();
    viewChanged();
    if (!loaded.cacheWriteError.empty())
        ShowError(this, Ui(loaded.cacheWriteError));
    if (loaded.imageCount > 0 && loaded.textureCount == 0)
        ShowMessage(this, EntryOrEnglish(Tessaro3DText("BankWithoutTextures")));
    else
        warnOfMissingTextures();
}

void TForm1::warnOfMissingTextures()
{
    if (!haveBank_)
        return; // the stand-in bank of the start has no textures to speak of
    const TexturesBeyondBank beyond = FindTexturesBeyondBank(object, context->bank.lastTexture);
    if (beyond.faces > 0)
        ShowMessage(this, EntryOrEnglish(Tessaro3DText("FacesBeyondBank"))
                              .arg(beyond.faces)
                              .arg(beyond.highest)
                              .arg(context->bank.lastTexture));
}

// k3x blend BANK.def [--rebuild]: loads the bank as the skinning editor does and makes sure the
// blend-table cache beside it exists (built and written when missing or of the wrong size;
// --rebuild builds it anew).
#include "K3xCommand.h"

#include "Errors.h"
#include "SkinnerBank.h"

#include <chrono>
#include <cstdio>

int RunBlend(const std::vector<std::string>& words)
{
    const K3xArgs args = K3xArgs::Parse(words, {}, {"rebuild"});
    args.expectPositional(1);
    const std::string& bankPath = args.positional[0];

    SkinnerBank bank;
    const auto start = std::chrono::steady_clock::now();
    const SkinnerBankLoad load =
        LoadSkinnerBank(bankPath, bank, args.has("rebuild") ? BlendCacheUse::Rebuild : BlendCacheUse::ReadOrBuild);
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    if (!load.cache.writeError.empty())
        throw IoError(load.cache.writeError);

    std::printf("%s: %d images, %d textures (last %d); %s %s in %lld ms\n", bankPath.c_str(), load.imageCount,
                load.textureCount, bank.lastTexture, load.cache.cacheFile.string().c_str(),
                load.cache.readFromCache ? "read" : "built and written", static_cast<long long>(milliseconds));
    return 0;
}

#include "AnimTexture.h"

// Compared before stepping, so that runs ending at the limits of the 32-bit range never overflow.
void StepTexture(AnimTexture& texture)
{
    if (texture.first < texture.last)
        texture.current = texture.current >= texture.last ? texture.first : texture.current + 1;
    else if (texture.first > texture.last)
        texture.current = texture.current <= texture.last ? texture.first : texture.current - 1;
    else
        texture.current = texture.first;
}

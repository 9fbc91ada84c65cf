#include "AnimTexture.h"

void StepTexture(AnimTexture& texture)
{
    if (texture.first < texture.last) {
        if (++texture.current > texture.last)
            texture.current = texture.first;
    } else if (texture.first > texture.last) {
        if (--texture.current < texture.last)
            texture.current = texture.first;
    } else {
        texture.current = texture.first;
    }
}

#include "runtime/fonts.h"

#include "runtime/text.h"

namespace tuvrel {

BundledFace FontSpec::bundled() const
{
    return equalsIgnoringCase(face, "Comic Sans MS") ? BundledFace::ComicNeue : BundledFace::LiberationSans;
}

}  // namespace tuvrel

#pragma once

#include <filesystem>
#include <string>

#include <librsvg/rsvg.h>

namespace picture_renderer {

// The text of an SVG with each <xi:include href="…"/> replaced by the root element of the
// file it names, as XInclude does. librsvg includes a file only from the SVG's own folder or
// below it, but a character drawn once (assets/shared/piet.svg) appears in the pictures of
// every folder; so the include is resolved here, anywhere within the folder that holds the
// SVG's folder. Throws std::runtime_error naming the href when it cannot be included.
std::string svgWithIncludes(const std::filesystem::path& svg);

// A librsvg handle on svgWithIncludes(svg), with svg as the base of its other references.
// Returns nullptr and sets *error when the text does not parse.
RsvgHandle* openSvg(const std::filesystem::path& svg, GError** error);

}  // namespace picture_renderer

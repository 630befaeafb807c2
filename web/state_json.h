#pragma once
// What the page hands its script as JSON: the pictures it needs, and for the
// browser tests what the forms hold, next to the same play on the core alone.
#include "runtime/form_registry.h"
#include "runtime/form_transform.h"
#include "runtime/text_layout.h"

#include <string>
#include <utility>
#include <vector>

namespace tuvrel::web {

// Every picture of the program: name, size, and the extensions of its
// renderings ("e" at its own size, "k" at the larger scales), with the scales.
std::string catalogJson();
// The asset names of the pictures that the loaded forms show now.
std::string picturesShownJson(const FormRegistry& registry);
// The loaded forms and their controls, the layers front first, whether a
// pointer plays, whether a handler is suspended in a message box (busy),
// whether the program ended, and the front form's transform on the canvas
// (CSS pixels). Pictures are named by asset and by which object
// they are, numbered in the order first met, so that two runs compare.
std::string stateJson(const FormRegistry& registry, const std::vector<std::string>& layers, const FormTransform& front,
                      bool busy);
// The same state reached by the core alone, with no page: Start, the form in
// front of it, then the moves (source and target; no target for a click)
// made at the controls' centres on the form itself.
std::string corePlayJson(const std::string& formName, const std::vector<std::pair<std::string, std::string>>& moves);
// A form's labels with their text laid out by the core with a measurer:
// [{"name", "lines": [{"text", "x", "top", "baseline"}]}], every line,
// positions in form pixels to the last bit.
std::string labelLinesJson(const Form& form, TextMeasurer& measurer);
// Moves as [{"source", "target"}], the target empty for a click.
std::string movesJson(const std::vector<std::pair<std::string, std::string>>& moves);
// Texts as a JSON array of strings.
std::string textsJson(const std::vector<std::string>& texts);
// {"error": what}.
std::string errorJson(const std::string& what);

}  // namespace tuvrel::web

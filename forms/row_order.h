#pragma once
// The one way a form puts its rows in the order its table gives them (front
// first): every row built on its own, then ordered by name. A name of the
// order that no row has, a row the order does not name, or a name twice is
// an error.
#include "runtime/form_description.h"

#include <string>
#include <string_view>
#include <vector>

namespace tuvrel::forms {

std::vector<ControlDescription> inRowOrder(std::vector<ControlDescription> rows, const std::vector<std::string>& order,
                                           std::string_view form);

}  // namespace tuvrel::forms

#pragma once
#include <stdexcept>
#include <string>

namespace tuvrel {

// An operation of the forms runtime that cannot be carried out; the program
// stops with this message.
class RuntimeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tuvrel

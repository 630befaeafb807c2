#pragma once
// A picture is an immutable image object compared by identity only: every
// control that is built with a picture gets an object of its own, assigning a
// picture from one control to another shares the object, and all empty
// pictures are the same. The core knows a picture by its asset (name, size,
// ground) and its identity; its pixels are the front end's.
#include "runtime/geometry.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace tuvrel {

struct PictureAsset;

class Picture {
public:
    Picture() = default;  // the empty picture

    // A new picture object showing the named built-in asset. Throws
    // RuntimeError for a name the program does not carry.
    static Picture load(std::string_view name);

    bool isEmpty() const { return !object_; }
    // Every pixel of it covers what lies beneath (no transparent ground).
    bool isOpaque() const;
    // 0 for the empty picture, otherwise a number of its own, never given to
    // another picture object while the program runs (not even once this one is gone).
    std::uint64_t identity() const { return object_ ? object_->identity : 0; }
    Size size() const;
    // The asset it shows; nullptr when empty.
    const PictureAsset* asset() const { return object_ ? object_->asset : nullptr; }
    std::string_view assetName() const;

    friend bool operator==(const Picture& a, const Picture& b) { return a.identity() == b.identity(); }

private:
    struct Object {
        const PictureAsset* asset;
        std::uint64_t identity;
    };
    std::shared_ptr<const Object> object_;
};

}  // namespace tuvrel

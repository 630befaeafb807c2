#pragma once
// The two levels of "in welk pakje zat het cadeau?" share their frame: the
// title and level number, the dark panel behind the packages and the
// navigation buttons. Each level lists its own rows in drawing order with
// these helpers: six presents, six packages and the hidden reward.
#include "runtime/form_description.h"

namespace tuvrel::forms {

// The form itself: caption "in welk pakje zat het cadeau?  <level>." and the common client area.
FormDescription describeVormen(int level, std::vector<ControlDescription> rows);

// Label1: the title, dark red, centred.
ControlDescription vormenTitle();
// Label2: the level number, "1." or "2.", left of the title's end.
ControlDescription vormenLevel(int level);
// Shape1: the dark grey panel that lies behind the packages.
ControlDescription vormenPanel();

// A present: the child drags it onto the package of its shape.
ControlDescription presentRow(std::string name, int left, int top, int width, int height, std::string picture);
// A package: the silhouette of one present, wrapped; it takes the drops.
ControlDescription packageRow(std::string name, int left, int top, int width, int height, std::string picture);
// ImageGoed: the reward, hidden until the last present has gone.
ControlDescription rewardRow(int left, int top, int width, int height, std::string picture);

}  // namespace tuvrel::forms

#pragma once

#include "platform/rm/animation.h"
#include "platform/rm/frame.h"

#include <cstdint>
#include <functional>
#include <istream>
#include <string>

// Reads the keys of one skeletal animation file (.smd) into `set`.
//
// The node block maps the file's nodes, in file order, to the model's bone
// frames through `findBone` (given the normalised bone name; an empty result
// leaves that node unkeyed). With `upperBody` only the first child branch of
// node 1 is mapped, so the set can play over a whole-body set. Only every
// other key block is read: the line that ends a block is consumed with it, so
// a following block loses its header. The first bone keyed in the file loses
// its motion along the model's first axis.
//
// Returns the time of the last key block read. Throws Failure at the first
// malformed line (a field that is not a number, a node block longer than
// `boneCount` + 1, a key line for a node the block did not list); the keys
// read until then stay in the set.
int32_t ReadAnimationFile(std::istream& file, rm::AnimationSet& set, bool upperBody, int32_t boneCount,
                          const std::function<rm::FramePtr(const std::string&)>& findBone);

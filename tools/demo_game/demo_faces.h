// Faces for the demo game, drawn by code: a head and shoulders on a background of the hero's
// alignment, with the headgear, clothing colours and chest emblem of the hero's class, and
// skin, hair, eyes and clothing shade varied by the hero's look seed. The ring of the hero's
// alignment frames the face and the corners are black, as the editor's own faces are.
//
//   qm::Picture large = qm::demo::DrawDemoFace(hero, qm::kLargeFaceSize);
//   qm::Picture skull = qm::demo::DrawPseudoHeroFace(qm::kDeadRecord, qm::kSmallFaceSize);
//
// The same hero gives the same pixels in every build.
#pragma once

#include <cstddef>

#include "portrait/picture.h"
#include "tools/demo_game/demo_heroes.h"

namespace qm::demo {

Picture DrawDemoFace(const DemoHero& hero, int size);

// The faces of the pseudo-heroes: a skull for "dead" (record 1), a moon for "sleeping"
// (record 2).
Picture DrawPseudoHeroFace(size_t record, int size);

}  // namespace qm::demo

// The demo game's HEROES4.EXE, carried as bytes by the programs that write the demo game.
//
//   std::span<const uint8_t> exe = qm::DemoGameExecutable();
//   write exe to <demo game>/HEROES4.EXE
//
// A tiny 32-bit Windows program of our own whose version block holds product version 1.3.0.0,
// so the game version reads as 1.3; run on its own, it only says what it is. Written by the
// portable PE writer (tools/pe_image), so every build carries the same bytes without a
// Windows compiler.
#pragma once

#include <cstdint>
#include <span>

namespace qm {

std::span<const uint8_t> DemoGameExecutable();

}  // namespace qm

#pragma once

#define IDR_GLYPHS 101

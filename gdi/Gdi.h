// The whole drawing layer: a software GDI with RAII owners and live-object counters.
#pragma once

#include "Dc.h"
#include "Draw.h"
#include "Handles.h"
#include "Image.h"
#include "Objects.h"
#include "Region.h"
#include "Screen.h"
#include "SysColor.h"
#include "Text.h"
#include "Types.h"

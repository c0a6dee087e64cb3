#include <windows.h>
#include "HItemState.h"

HItemState::HItemState() {}

HItemState::HItemState(const HItemState& other) = default;

HItemState& HItemState::operator=(const HItemState& other) = default;

HItemState::~HItemState() {}

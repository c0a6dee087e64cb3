#include <windows.h>
#include "HItemVerion.h"

HItemVerion::HItemVerion() : m_nVersionObjId(0), m_nUserData(0) {}

HItemVerion::HItemVerion(const HItemVerion& other) = default;

HItemVerion& HItemVerion::operator=(const HItemVerion& other) = default;

HItemVerion::~HItemVerion() {}

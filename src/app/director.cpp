#include "app/director.h"

Director::Director() = default;

Director::~Director() = default;

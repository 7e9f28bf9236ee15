// korvik batch FILE: many of mailzolka's command lines in one process (batch.cpp).
#pragma once

namespace korvik {

int BatchCommand(int argc, char** argv);

}  // namespace korvik

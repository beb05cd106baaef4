// trackplan: plans the flight tracks current1.ftk .. current4.ftk found in
// the working directory into turnsN.txt, dropsN.txt, pointsN and hurrlocN.
#include "planner/track.hpp"

int main() { planner::trackplan(); }

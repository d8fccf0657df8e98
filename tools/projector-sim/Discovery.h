#pragma once
// The UDP side of a simulated projector: answers to the hello request and to the secondary
// search request.

#include <netinet/in.h>

#include "tools/projector-sim/ProjectorState.h"

namespace lanterna::sim {

// Reads one datagram from `socket` and answers it when it is a hello request and hello
// answers are on. The answer leaves through `replySocket` (bound to the projector's own
// address and port) or, with the other-port fault, through a fresh socket on `ownAddress`.
void AnswerHelloDatagram(int socket, int replySocket, in_addr ownAddress, ProjectorState& state);

// Reads one datagram from `socket` and answers a secondary search request (when those answers
// are on) through `replySocket`, carrying the projector's name and `ownAddress`.
void AnswerSecondaryDatagram(int socket, int replySocket, in_addr ownAddress,
                             ProjectorState& state);

}  // namespace lanterna::sim

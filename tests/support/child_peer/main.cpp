// The program of a ChildPeer (support/test_peer.h): a bare machine of a
// session, driven by request lines on its standard input.

#include "support/test_peer.h"

int main() { return play_test::ServeChildPeer(); }

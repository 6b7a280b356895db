// tracking_service::endReadingOfConnectionsTo: ends the reading side of every connected TCP socket of this
// process whose local port is `port`, i.e. the connections a server that listened on that port accepted. A
// worker waiting idle for a kept-alive connection's next request then sees the end at once and closes it; a
// reply being written still goes out whole. Meant for a server that has already stopped listening, so that
// no new connection can arrive meanwhile. Any thread.
//
//   server.stop();                              // no more connections are accepted
//   tracking_service::endReadingOfConnectionsTo(port);
#pragma once

namespace tracking_service {

void endReadingOfConnectionsTo(int port);

} // namespace tracking_service

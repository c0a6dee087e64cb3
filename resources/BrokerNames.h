// The two broker host names offered by the login dialog; the first is also the broker of a
// configuration without one. The login dialog's list data is generated from this file.
#ifndef VOR_BROKER_NAMES_H
#define VOR_BROKER_NAMES_H

#define VOR_DEFAULT_BROKER_1 "127.0.0.1"
#define VOR_DEFAULT_BROKER_2 "localhost"

#endif

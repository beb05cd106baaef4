// stationlists: builds the three reliable-station lists in the working
// directory from "sonde.land.tbl" and "ua_cur.dat". Takes no arguments.
#include "records/records.hpp"
#include "stations/stations.hpp"

int main() {
  stations::stationlists();
  rec::stop();
}

#pragma once

namespace quorvel::astro {

// TT − UTC in seconds at the UTC moment `jdutc` (Julian date): ΔAT of ERFA's leap-second
// table + 32,184 s. Before 1960 the table has no UTC and ΔAT is taken as 0; after its last
// entry the last ΔAT holds.
double ttMinusUtc(double jdutc);

}  // namespace quorvel::astro

#include "astro/earth_position.h"

#include <cmath>

#include "astro/astro_constants.h"
#include "astro/kepler.h"
#include "common/numbers.h"

namespace quorvel::astro {

EarthState earthState(double t) {
  EarthState s;
  s.t = t;
  s.elements = earthElements(t);
  const OrbitalElements& el = s.elements;
  const double e = el.eccentricity;

  s.meanAnomaly = meanAnomaly(el.meanLongitude, el.longitudeOfPerihelion);
  const KeplerSolution kepler = solveKepler(s.meanAnomaly, e);
  s.eccentricAnomaly = kepler.eccentricAnomaly;
  s.keplerPasses = kepler.passes;
  s.keplerConverged = kepler.converged;

  s.trueAnomaly =
      2.0 * std::atan(std::sqrt((1.0 + e) / (1.0 - e)) * std::tan(s.eccentricAnomaly / 2.0));
  const double p = el.semiMajorAxis * (1.0 - e * e);  // semi-latus rectum, m
  s.radius = p / (1.0 + e * std::cos(s.trueAnomaly));
  s.argumentOfLatitude = s.trueAnomaly + el.longitudeOfPerihelion - el.ascendingNode;

  const double cosU = std::cos(s.argumentOfLatitude);
  const double sinU = std::sin(s.argumentOfLatitude);
  const double cosNode = std::cos(el.ascendingNode);
  const double sinNode = std::sin(el.ascendingNode);
  const double cosI = std::cos(el.inclination);
  const double sinI = std::sin(el.inclination);
  s.position.x = s.radius * (cosU * cosNode - sinU * sinNode * cosI);
  s.position.y = s.radius * (cosU * sinNode + sinU * cosNode * cosI);
  s.position.z = s.radius * sinU * sinI;
  s.longitude = common::FullAngle(s.position.x, s.position.y);
  s.latitude = std::atan2(s.position.z, std::hypot(s.position.x, s.position.y));

  const double k = std::sqrt(GravitationalConstant * SunMass / p);
  const double radialSpeed = k * e * std::sin(s.trueAnomaly);
  const double transverseSpeed = k * (1.0 + e * std::cos(s.trueAnomaly));
  s.velocity.x = radialSpeed * s.position.x / s.radius +
                 transverseSpeed * (-sinU * cosNode - cosU * sinNode * cosI);
  s.velocity.y = radialSpeed * s.position.y / s.radius +
                 transverseSpeed * (-sinU * sinNode + cosU * cosNode * cosI);
  s.velocity.z = radialSpeed * s.position.z / s.radius + transverseSpeed * cosU * sinI;
  s.speed = std::sqrt(s.velocity.x * s.velocity.x + s.velocity.y * s.velocity.y +
                      s.velocity.z * s.velocity.z);
  return s;
}

}  // namespace quorvel::astro

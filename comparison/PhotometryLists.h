// The lists that photometry programs read to measure a field: AstroImageJ's RA/Dec aperture list
// and Siril's comparison-star list, each with the target first and then the usable stars.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "FieldStar.h"

// What a list says of where it came from: the field's centre as typed, its radius, and the
// criteria the stars were chosen by, in words.
struct ListOrigin {
    SkyPosition centre;
    std::string centreText;  // "05 35 17.3 −05 23 28"
    std::string radiusText;  // "1°"
    std::string criteria;    // "usable; V 8:11" and the like, or empty
};

// The stars are the field's, nearest first; the target is the first star marked as one, or
// else the centre itself, without a magnitude.
std::string AstroImageJList(const std::vector<FieldStar>& stars, const ListOrigin& origin);
std::string SirilList(const std::vector<FieldStar>& stars, const ListOrigin& origin);

// A position as AstroImageJ reads it: RA in hours "05:35:17.300", Dec "-05:23:28.00".
std::string HoursText(double raDegrees);
std::string DegreesText(double decDegrees);

#include "geometry.h"

#include <cmath>

namespace geo {

int shapeCount = 0;

Shape::~Shape() {}

void Shape::moveBy(double dx, double dy) {
    origin.x += dx;
    origin.y += dy;
}

Circle::Circle(double r) : radius(r) { ++shapeCount; }

double Circle::area() const { return 3.14159265358979 * GEO_SQUARE(radius); }

double Circle::getRadius() const { return radius; }

Polygon::Polygon() : count(0) { ++shapeCount; }

bool Polygon::addVertex(const Point&) {
    if (count == GEO_MAX_VERTICES) return false;
    ++count;
    return true;
}

double Polygon::area() const { return 0.0; }

double distance(const Point& a, const Point& b) {
    return std::sqrt(GEO_SQUARE(a.x - b.x) + GEO_SQUARE(a.y - b.y));
}

}  // namespace geo

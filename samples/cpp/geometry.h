#ifndef GEOMETRY_H
#define GEOMETRY_H

/**
 * The largest number of vertices that a polygon may have.
 */
#define GEO_MAX_VERTICES 1024

/**
 * Squares a value.
 * @param x the value to square
 */
#define GEO_SQUARE(x) ((x) * (x))

namespace geo {

/**
 * A point in the plane.
 * @author Sample Author
 * @version 1.2
 */
struct Point {
    /** The horizontal coordinate. */
    double x;
    /** The vertical coordinate. */
    double y;
};

/**
 * The kinds of shape that the library knows.
 */
enum ShapeKind {
    /** A circle. */
    KindCircle,
    /** A polygon with straight sides. */
    KindPolygon
};

/**
 * A fixed-size vector of values.
 * @param T the element type
 * @param N the number of elements
 */
template <class T, int N>
class Vector {
public:
    /** Creates a vector with every element zero. */
    Vector();
    /**
     * The element at an index.
     * @param i the index, from 0 to N - 1
     * @return the element
     */
    T& operator[](int i);
    /** Compares two vectors element by element. */
    bool operator<(const Vector& other) const;
private:
    T values[N];
};

/**
 * The base of every shape. Derived classes say how large they are.
 * @see Circle
 * @see Polygon
 */
class Shape {
public:
    /** Destroys the shape. */
    virtual ~Shape();
    /**
     * The area that the shape covers.
     * @return the area in square units
     */
    virtual double area() const = 0;
    /**
     * Moves the shape.
     * @param dx the horizontal distance
     * @param dy the vertical distance
     */
    void moveBy(double dx, double dy);
protected:
    /** The point that the shape is placed at. */
    Point origin;
};

/**
 * A circle around its origin.
 * @since 1.1
 */
class Circle : public Shape {
public:
    /**
     * Creates a circle.
     * @param radius the radius, not negative
     */
    explicit Circle(double radius);
    /** {@inheritDoc} */
    double area() const;
    /**
     * The radius.
     * @deprecated Use {@link Circle#area} and derive the radius from it.
     */
    double getRadius() const;
private:
    double radius;
};

/**
 * A closed polygon with up to {@link GEO_MAX_VERTICES} vertices.
 */
class Polygon : public Shape {
public:
    /** Creates an empty polygon. */
    Polygon();
    /**
     * Adds a vertex at the end.
     * @param p the new vertex
     * @return false when the polygon is full
     */
    bool addVertex(const Point& p);
    double area() const;
private:
    int count;
};

/** A list of shapes, owned by whoever fills it. */
typedef Shape* ShapeList[16];

/**
 * Computes the distance between two points.
 * @param a the first point
 * @param b the second point
 * @return the distance, never negative
 */
double distance(const Point& a, const Point& b);

/** The number of shapes created so far. */
extern int shapeCount;

}  // namespace geo

#endif

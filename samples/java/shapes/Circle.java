package com.example.shapes;

/**
 * A circle.
 *
 * @version 2.0
 */
public class Circle extends AbstractShape {
    private double radius;

    /**
     * Creates a circle.
     *
     * @param radius the radius, not negative
     * @throws IllegalArgumentException when the radius is negative
     */
    public Circle(double radius) {
        if (radius < 0) throw new IllegalArgumentException("radius");
        this.radius = radius;
    }

    /** {@inheritDoc} */
    public double area() {
        return Math.PI * radius * radius;
    }
}

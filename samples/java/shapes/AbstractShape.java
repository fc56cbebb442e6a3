package com.example.shapes;

/**
 * The common part of every shape: its position.
 *
 * @see Shape
 */
public abstract class AbstractShape implements Shape {
    /** The horizontal position. */
    protected double x;
    /** The vertical position. */
    protected double y;

    /**
     * Moves the shape.
     *
     * @param dx the horizontal distance
     * @param dy the vertical distance
     */
    public void moveBy(double dx, double dy) {
        x += dx;
        y += dy;
    }

    /**
     * Places the shape.
     *
     * @param x the new horizontal position
     * @param y the new vertical position
     * @deprecated Use {@link #moveBy(double, double)} instead.
     */
    public void setPosition(double x, double y) {
        this.x = x;
        this.y = y;
    }

    public String name() {
        return getClass().getName();
    }
}

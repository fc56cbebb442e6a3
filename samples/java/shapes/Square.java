package com.example.shapes;

/**
 * A square with sides parallel to the axes.
 *
 * @deprecated Squares are rectangles; this class will go.
 */
public class Square extends AbstractShape {
    private final double side;

    /**
     * Creates a square.
     *
     * @param side the length of each side
     */
    public Square(double side) {
        this.side = side;
    }

    public double area() {
        return side * side;
    }
}

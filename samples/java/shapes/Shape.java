package com.example.shapes;

/**
 * Something that covers an area of the plane.
 *
 * @author Sample Author
 * @since 1.0
 */
public interface Shape {
    /**
     * The area that the shape covers.
     *
     * @return the area in square units
     */
    double area();

    /**
     * A short name for the shape, shown in lists.
     *
     * @return the name
     */
    String name();
}

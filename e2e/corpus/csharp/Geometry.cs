using System;
using System.Runtime.InteropServices;

namespace Acme.Geometry
{
    /// <summary>A point in the plane.</summary>
    [StructLayout(LayoutKind.Sequential, Pack = 4)]
    public readonly struct Point : IEquatable<Point>
    {
        /// <summary>Makes a point.</summary>
        public Point(double x, double y) => (X, Y) = (x, y);

        /// <summary>The horizontal part.</summary>
        public double X { get; init; }

        /// <summary>The vertical part.</summary>
        public double Y { get; init; }

        /// <summary>The origin.</summary>
        public static readonly Point Origin = new(0, 0);

        /// <summary>Adds two points.</summary>
        public static Point operator +(Point a, Point b) => new(a.X + b.X, a.Y + b.Y);

        /// <summary>Compares two points.</summary>
        public static bool operator ==(Point a, Point b) => a.Equals(b);

        /// <summary>Compares two points.</summary>
        public static bool operator !=(Point a, Point b) => !a.Equals(b);

        /// <summary>Converts a tuple.</summary>
        public static implicit operator Point((double, double) t) => new(t.Item1, t.Item2);

        /// <inheritdoc/>
        public bool Equals(Point other) => X == other.X && Y == other.Y;

        /// <inheritdoc/>
        public override bool Equals(object? obj) => obj is Point p && Equals(p);

        /// <inheritdoc/>
        public override int GetHashCode() => HashCode.Combine(X, Y);

        /// <summary>Splits the point.</summary>
        public void Deconstruct(out double x, out double y) { x = X; y = Y; }
    }

    /// <summary>A shape.</summary>
    public abstract class Shape
    {
        /// <summary>Its area.</summary>
        public abstract double Area { get; }

        /// <summary>Scales the shape.</summary>
        public virtual Shape Scale(double factor) => this;

        /// <summary>Makes a shape.</summary>
        protected Shape() { }

        /// <summary>A shape nested in another.</summary>
        protected internal sealed class Inner : Shape
        {
            /// <inheritdoc/>
            public override double Area => 0;
        }
    }

    /// <summary>A circle.</summary>
    public sealed class Circle : Shape
    {
        private readonly double radius;

        /// <summary>Makes a circle.</summary>
        public Circle(double radius) { this.radius = radius; }

        /// <inheritdoc/>
        public override double Area => Math.PI * radius * radius;

        /// <inheritdoc/>
        public override Shape Scale(double factor) => new Circle(radius * factor);

        /// <summary>Reads raw memory.</summary>
        public unsafe static double First(double* values) => values[0];

        /// <summary>Takes a span by reference.</summary>
        public static ref readonly double Pick(in ReadOnlySpan<double> values, int at) => ref values[at];
    }

    /// <summary>A buffer on the stack.</summary>
    public ref struct Scratch
    {
        /// <summary>Its bytes.</summary>
        public Span<byte> Bytes;

        /// <summary>Clears it.</summary>
        public void Clear() => Bytes.Clear();
    }

    /// <summary>Shapes that a file holds.</summary>
    file static class Registry
    {
        /// <summary>Every shape known.</summary>
        internal static readonly Shape[] All = [new Circle(1), new Circle(2)];
    }
}

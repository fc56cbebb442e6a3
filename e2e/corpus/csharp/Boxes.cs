using System;
using System.Collections.Generic;

namespace Acme.Collections
{
    /// <summary>A box that holds any object.</summary>
    /// <remarks>The typed form is <see cref="Box{T}"/>.</remarks>
    public class Box
    {
        /// <summary>Makes an empty box.</summary>
        public Box() { }

        /// <summary>The object in the box.</summary>
        public object Content { get; protected set; }

        /// <summary>Whether the box holds nothing.</summary>
        public bool IsEmpty => Content is null;

        /// <summary>Raised after the content changed.</summary>
        public event EventHandler Changed;

        /// <summary>Puts an object into the box.</summary>
        /// <param name="value">What to keep.</param>
        public virtual void Put(object value)
        {
            Content = value;
            Changed?.Invoke(this, EventArgs.Empty);
        }
    }

    /// <summary>Something that holds a value.</summary>
    public interface IHolder
    {
        /// <summary>The value held.</summary>
        object Held { get; }
    }

    /// <summary>Something that holds a value of one type.</summary>
    /// <typeparam name="T">The type of the value.</typeparam>
    public interface IHolder<out T> : IHolder
    {
        /// <summary>The value held, typed.</summary>
        new T Held { get; }
    }

    /// <summary>A box that holds one value of type <typeparamref name="T"/>.</summary>
    /// <typeparam name="T">The type of the value.</typeparam>
    public class Box<T> : Box, IHolder<T>
    {
        /// <summary>What a box shows of its value.</summary>
        public readonly struct View
        {
            /// <summary>The value shown.</summary>
            public T Item { get; init; }
        }

        /// <summary>Makes a box holding a value.</summary>
        /// <param name="value">The first value.</param>
        public Box(T value) => Value = value;

        /// <summary>The value in the box.</summary>
        public T Value { get; private set; }

        /// <summary>Replaces the value.</summary>
        /// <param name="value">The new value.</param>
        public void Put(T value) => Value = value;

        /// <summary>The value, or the fallback when the box is empty.</summary>
        public T OrElse(T fallback) => IsEmpty ? fallback : Value;

        /// <inheritdoc/>
        public T Held => Value;

        object IHolder.Held => Value;
    }

    /// <summary>A box that holds a pair.</summary>
    public sealed class Box<T1, T2> : Box<T1>
    {
        /// <summary>Makes a box holding a pair.</summary>
        public Box(T1 first, T2 second) : base(first) => Second = second;

        /// <summary>The second value.</summary>
        public T2 Second { get; init; }
    }

    /// <summary>A box of text, a <see cref="Box{T}"/> of strings.</summary>
    public class TextBox : Box<string>
    {
        /// <summary>Makes a text box.</summary>
        public TextBox(string text) : base(text) { }

        /// <summary>The length of the text.</summary>
        public int Length => Value?.Length ?? 0;
    }

    /// <summary>A box that counts how often it was filled; see <see cref="Box"/>.</summary>
    public class CountingBox : Box
    {
        /// <summary>How often <see cref="Put"/> was called.</summary>
        public int Count { get; private set; }

        /// <inheritdoc/>
        public override void Put(object value)
        {
            Count++;
            base.Put(value);
        }
    }
}

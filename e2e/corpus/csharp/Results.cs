using System;

namespace Acme.Results
{
    /// <summary>The outcome of an operation that gives no value.</summary>
    public record Result(bool Succeeded, string Error)
    {
        /// <summary>A success.</summary>
        public static Result Ok() => new(true, null);

        /// <summary>A failure with its reason.</summary>
        public static Result Fail(string error) => new(false, error);
    }

    /// <summary>The outcome of an operation that gives a value.</summary>
    /// <typeparam name="T">The type of the value.</typeparam>
    public record Result<T>(bool Succeeded, T Value, string Error) : Result(Succeeded, Error)
    {
        /// <summary>A success with its value.</summary>
        public static Result<T> Ok(T value) => new(true, value, null);

        /// <summary>Turns the value into another; see <see cref="Result{T}"/>.</summary>
        public Result<TOut> Map<TOut>(Func<T, TOut> map) =>
            Succeeded ? new Result<TOut>(true, map(Value), null) : new Result<TOut>(false, default, Error);
    }
}

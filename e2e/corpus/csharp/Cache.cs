using System;
using System.Collections.Generic;

namespace Acme.Caching
{
    /// <summary>A cache of objects by key.</summary>
    public partial class Cache
    {
        private readonly Dictionary<string, object> items = new();

        /// <summary>The number of entries.</summary>
        public int Count => items.Count;

        /// <summary>Gets an entry as an object.</summary>
        /// <param name="key">The key of the entry.</param>
        public object Get(string key) => items[key];

        /// <summary>Gets an entry as the type asked for.</summary>
        /// <typeparam name="T">The type of the entry.</typeparam>
        /// <param name="key">The key of the entry.</param>
        public T Get<T>(string key) => (T)items[key];

        /// <summary>Gets an entry converted by a converter.</summary>
        public TOut Get<TIn, TOut>(string key) where TIn : TOut => (TIn)items[key];
    }

    /// <summary>A cache of values of one type, keyed by <typeparamref name="TKey"/>.</summary>
    public partial class Cache<TKey>
    {
        /// <summary>The entries.</summary>
        protected Dictionary<TKey, object> Entries { get; } = new();

        /// <summary>Gets an entry; see <see cref="Cache"/> for untyped entries.</summary>
        public object Get(TKey key) => Entries[key];
    }
}

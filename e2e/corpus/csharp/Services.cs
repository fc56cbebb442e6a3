#nullable disable
#pragma warning disable CS1591
using System;
using System.Collections.Generic;
using System.Threading;
using System.Threading.Tasks;

namespace Acme.Inventory.Services
{
    #region Contracts

    /// <summary>Stores items.</summary>
    public interface IStore<TKey, TItem> where TKey : notnull where TItem : class
    {
        /// <summary>Finds an item.</summary>
        ValueTask<TItem?> FindAsync(TKey key, CancellationToken token = default);

        /// <summary>Saves an item.</summary>
        Task SaveAsync(TKey key, TItem item);

        /// <summary>The number of items.</summary>
        int Count { get; }

        /// <summary>Whether the store is empty.</summary>
        bool IsEmpty => Count == 0;
    }

    #endregion

    /// <summary>A store in memory.</summary>
    /// <param name="clock">Tells the time.</param>
    public class MemoryStore<TKey, TItem>(Func<DateTime> clock) : IStore<TKey, TItem>, IDisposable
        where TKey : notnull
        where TItem : class, new()
    {
        private readonly Dictionary<TKey, TItem> items = new();

        /// <inheritdoc/>
        public int Count => items.Count;

        /// <summary>When the store was last written.</summary>
        public DateTime LastWrite { get; private set; } = clock();

        /// <inheritdoc/>
        public async ValueTask<TItem?> FindAsync(TKey key, CancellationToken token = default)
        {
            await Task.Yield();
            return items.TryGetValue(key, out var item) ? item : null;
        }

        /// <inheritdoc/>
        public Task SaveAsync(TKey key, TItem item)
        {
            items[key] = item;
            LastWrite = clock();
            return Task.CompletedTask;
        }

        /// <summary>Gets or sets an item by key.</summary>
        public TItem this[TKey key]
        {
            get => items[key];
            set => items[key] = value;
        }

        /// <summary>Raised when an item is saved.</summary>
        public event EventHandler<TKey>? Saved;

        /// <summary>Releases the store.</summary>
        public void Dispose() => items.Clear();

        /// <summary>Describes a kind of item.</summary>
        public static string Kind(object o) => o switch
        {
            int n when n > 0 => "positive",
            string { Length: 0 } => "empty text",
            null => "nothing",
            _ => "other",
        };
    }

    /// <summary>Extensions for stores.</summary>
    public static class StoreExtensions
    {
        /// <summary>Saves every item.</summary>
        public static async Task SaveAllAsync<TKey, TItem>(this IStore<TKey, TItem> store,
            IEnumerable<(TKey Key, TItem Item)> pairs) where TKey : notnull where TItem : class
        {
            foreach (var (key, item) in pairs) await store.SaveAsync(key, item);
        }

        /// <summary>Counts matching values.</summary>
        public static int CountWhere<T>(this IEnumerable<T> values, Func<T, bool> test)
        {
            int n = 0;
            foreach (var v in values) if (test(v)) n++;
            return n;
        }
    }

    /// <summary>A unit of work.</summary>
    public delegate Task WorkItem(CancellationToken token);

    /// <summary>How urgent a request is.</summary>
    [Flags]
    public enum Urgency : byte
    {
        /// <summary>Whenever.</summary>
        None = 0,
        /// <summary>Soon.</summary>
        Soon = 1 << 0,
        /// <summary>Now.</summary>
        Now = 1 << 1,
    }
}
